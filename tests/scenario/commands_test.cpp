// The other items of the menu, and the menu closed without a choice: what each asks of the
// machine, with boot.ini left as it was.
#include "tests/scenario/scenario_fixture.h"

namespace mvorbel::testing {
namespace {

struct CommandCase {
    const char* name;
    bool win9x;
    std::string settings;
    std::optional<std::string> item;  // none: the menu is dismissed
    bool ctrl;
    std::vector<winsim::Request> requests;
};
void PrintTo(const CommandCase& c, std::ostream* out) { *out << c.name; }

class Commands : public Scenario, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(Commands, AskTheMachineAndLeaveBootIniAlone) {
    const CommandCase& command = GetParam();
    PrepareRoad();
    if (command.win9x) {
        winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
        Put("c/WINDOWS/system32/vmmhiber.w9x", "z");
    }
    if (!command.settings.empty()) PutSettings(command.settings);
    winsim::QueueTrackScript(command.item ? Choose(*command.item, command.ctrl) : Dismiss());

    EXPECT_EQ(RunProgram(), 0);

    EXPECT_EQ(winsim::Trackings().size(), 1u) << "no command re-opens the menu";
    EXPECT_EQ(BootIniNow(), BootIni(kKey2));
    EXPECT_FALSE(Exists("c/boot.old"));
    EXPECT_EQ(winsim::Requests(), command.requests);
    ExpectNothingLeft();
}

INSTANTIATE_TEST_SUITE_P(
    Scenario, Commands,
    ::testing::Values(
        CommandCase{"Hibernate", false, "", kHibernate, false, {kSuspendStarted}},
        CommandCase{"HibernateWithCtrl", false, "", kHibernate, true, {kSuspendStarted}},
        CommandCase{"HibernateWin9x", true, "", kHibernate, false, {kSuspendStarted}},
        CommandCase{"TurnOff", false, "", kTurnOff, false, {kPlayerTerminated, ExitRequest(EWX_POWEROFF)}},
        CommandCase{"TurnOffWithCtrl", false, "", kTurnOff, true, {kPlayerTerminated, ExitRequest(EWX_POWEROFF)}},
        CommandCase{"TurnOffForced", false, "force=1", kTurnOff, false,
                    {kPlayerTerminated, ExitRequest(EWX_POWEROFF | EWX_FORCE)}},
        CommandCase{"TurnOffWin9x", true, "", kTurnOff, false, {kPlayerTerminated, ExitRequest(EWX_SHUTDOWN)}},
        CommandCase{"TurnOffWin9xForceIgnored", true, "force=1", kTurnOff, false,
                    {kPlayerTerminated, ExitRequest(EWX_SHUTDOWN)}},
        CommandCase{"Cancel", false, "", kCancel, false, {}},
        CommandCase{"CancelWithCtrl", false, "", kCancel, true, {}},
        CommandCase{"Dismissed", false, "", std::nullopt, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Commands, RestartOnWin9xNeedsNoPrivilege) {
    winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    PutBootIni(BootIni(kKey2));
    PutSettings("force=1");
    winsim::QueueTrackScript(Choose(Os(kDescription3)));

    EXPECT_EQ(RunProgram(), 0);

    EXPECT_EQ(BootIniNow(), BootIni(kKey3));
    EXPECT_FALSE(Exists("c/36528945648732"));
    EXPECT_EQ(winsim::Requests(), (std::vector<winsim::Request>{ExitRequest(EWX_REBOOT)}));
    ExpectNothingLeft();
}

}  // namespace
}  // namespace mvorbel::testing
