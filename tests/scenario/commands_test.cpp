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

class Commands : public Scenario, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(Commands, AskTheMachineAndLeaveBootIniAlone) {
    const CommandCase& command = GetParam();
    PrepareRoad();
    if (command.win9x) {
        winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
        Put("c/WINDOWS/system32/vmmhiber.w9x", "z");
    }
    PutSettings(command.settings);
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
        CommandCase{"HibernateWin9x", true, "", kHibernate, false, {kSuspendStarted}},
        CommandCase{"TurnOffWithCtrl", false, "", kTurnOff, true, {kPlayerTerminated, ExitRequest(EWX_POWEROFF)}},
        CommandCase{"TurnOffForced", false, "force=1", kTurnOff, false,
                    {kPlayerTerminated, ExitRequest(EWX_POWEROFF | EWX_FORCE)}},
        CommandCase{"TurnOffWin9xForceIgnored", true, "force=1", kTurnOff, false,
                    {kPlayerTerminated, ExitRequest(EWX_SHUTDOWN)}},
        CommandCase{"CancelWithCtrl", false, "", kCancel, true, {}},
        CommandCase{"Dismissed", false, "", std::nullopt, false, {}}),
    kCaseName);

}  // namespace
}  // namespace mvorbel::testing
