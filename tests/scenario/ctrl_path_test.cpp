// Choosing a system with Ctrl held: the default changes, the menu opens again where it was, and
// what the user does in that menu is carried out as in the first one.
#include "tests/scenario/scenario_fixture.h"

namespace mvorbel::testing {
namespace {

struct ReopenedCase {
    const char* name;
    std::vector<winsim::TrackScript> inReopenedMenus;
    std::string finalDefault;
    std::vector<winsim::Request> requests;
};

class CtrlPath : public Scenario, public ::testing::WithParamInterface<ReopenedCase> {};

TEST_P(CtrlPath, ReopensWithTheNewMarkAndCarriesOutTheNextChoice) {
    PrepareRoad();
    // The third system chosen with Ctrl held, then the mouse moved away.
    winsim::QueueTrackScript([](const winsim::Tracking& tracking) {
        auto chosen = Choose(Os(kDescription3), true)(tracking);
        SetCursorPos(3, 7);
        return chosen;
    });
    std::size_t requestsWhileReopened = 99;
    std::string bootIniWhileReopened;
    winsim::QueueTrackScript([&](const winsim::Tracking& tracking) {
        requestsWhileReopened = winsim::Requests().size();
        bootIniWhileReopened = BootIniNow();
        return GetParam().inReopenedMenus[0](tracking);
    });
    for (std::size_t i = 1; i < GetParam().inReopenedMenus.size(); ++i)
        winsim::QueueTrackScript(GetParam().inReopenedMenus[i]);

    EXPECT_EQ(RunProgram(), 0);

    ASSERT_EQ(winsim::Trackings().size(), 1 + GetParam().inReopenedMenus.size());
    const winsim::Tracking& reopened = winsim::Trackings()[1];
    EXPECT_EQ(Shown(reopened, 3), (std::vector<std::string>{Os(kDescription1), Os(kDescription2),
                                                            Checked(Os(kDescription3))}));
    EXPECT_EQ(Shown(reopened).size(), 9u);
    EXPECT_EQ(reopened.point.x, kCursorX);
    EXPECT_EQ(reopened.point.y, kCursorY);
    EXPECT_EQ(reopened.flags, 0x800u);
    EXPECT_EQ(requestsWhileReopened, 0u) << "nothing is terminated or restarted before the menu re-opens";
    EXPECT_EQ(bootIniWhileReopened, BootIni(kKey3));
    if (winsim::Trackings().size() == 3) {
        EXPECT_EQ(Shown(winsim::Trackings()[2], 1), (std::vector<std::string>{Checked(Os(kDescription1))}));
        EXPECT_EQ(Content("c/boot.old"), BootIni(kKey1)) << "each rewrite backs up the file it replaces";
    }

    EXPECT_EQ(BootIniNow(), BootIni(GetParam().finalDefault));
    EXPECT_EQ(winsim::Requests(), GetParam().requests);
    ExpectNothingLeft();
}

INSTANTIATE_TEST_SUITE_P(
    Scenario, CtrlPath,
    ::testing::Values(
        ReopenedCase{"SystemChosen", {Choose(Os(kDescription1))}, kKey1, {kPlayerTerminated, ExitRequest(EWX_REBOOT)}},
        ReopenedCase{"CtrlHeldAgain",
                     {Choose(Os(kDescription1), true), Choose(Os(kDescription2))},
                     kKey2,
                     {kPlayerTerminated, ExitRequest(EWX_REBOOT)}},
        ReopenedCase{"HibernateWithCtrl", {Choose(kHibernate, true)}, kKey3, {kSuspendStarted}},
        ReopenedCase{"TurnOff", {Choose(kTurnOff)}, kKey3, {kPlayerTerminated, ExitRequest(EWX_POWEROFF)}},
        ReopenedCase{"Cancel", {Choose(kCancel)}, kKey3, {}},
        ReopenedCase{"Dismissed", {Dismiss()}, kKey3, {}}),
    kCaseName);

}  // namespace
}  // namespace mvorbel::testing
