// Choosing a system with Ctrl held: the default changes, the menu opens again where it was, and
// what the user does in that menu is carried out as in the first one.
#include <algorithm>

#include "tests/scenario/scenario_fixture.h"

namespace mvorbel::testing {
namespace {

const std::vector<std::string> kMarksAfterFirstChoice{Os(kDescription1), Os(kDescription2),
                                                      Checked(Os(kDescription3))};

std::vector<std::string> OsItems(const winsim::Tracking& tracking) {
    std::vector<std::string> shown = Shown(tracking);
    shown.resize(std::min<std::size_t>(shown.size(), 3));
    return shown;
}

struct ReopenedCase {
    const char* name;
    winsim::TrackScript inReopenedMenu;
    std::string finalDefault;
    std::vector<winsim::Request> requests;
};
void PrintTo(const ReopenedCase& c, std::ostream* out) { *out << c.name; }

class CtrlPath : public Scenario, public ::testing::WithParamInterface<ReopenedCase> {
 protected:
    // The first menu: the third system chosen with Ctrl held, then the mouse moved away.
    void ChooseThirdWithCtrl() {
        winsim::QueueTrackScript([](const winsim::Tracking& tracking) {
            auto chosen = Choose(Os(kDescription3), true)(tracking);
            SetCursorPos(3, 7);
            return chosen;
        });
    }
};

TEST_P(CtrlPath, ReopensWithTheNewMarkAndCarriesOutTheNextChoice) {
    PrepareRoad();
    ChooseThirdWithCtrl();
    std::size_t requestsWhileReopened = 99;
    std::string bootIniWhileReopened;
    winsim::QueueTrackScript([&](const winsim::Tracking& tracking) {
        requestsWhileReopened = winsim::Requests().size();
        bootIniWhileReopened = BootIniNow();
        return GetParam().inReopenedMenu(tracking);
    });

    EXPECT_EQ(RunProgram(), 0);

    ASSERT_EQ(winsim::Trackings().size(), 2u);
    const winsim::Tracking& reopened = winsim::Trackings()[1];
    EXPECT_EQ(OsItems(reopened), kMarksAfterFirstChoice);
    EXPECT_EQ(Shown(reopened).size(), 9u);
    EXPECT_EQ(reopened.point.x, kCursorX);
    EXPECT_EQ(reopened.point.y, kCursorY);
    EXPECT_EQ(reopened.flags, 0x800u);
    EXPECT_EQ(requestsWhileReopened, 0u) << "nothing is terminated or restarted before the menu re-opens";
    EXPECT_EQ(bootIniWhileReopened, BootIni(kKey3));

    EXPECT_EQ(BootIniNow(), BootIni(GetParam().finalDefault));
    EXPECT_EQ(winsim::Requests(), GetParam().requests);
    ExpectNothingLeft();
}

INSTANTIATE_TEST_SUITE_P(
    Scenario, CtrlPath,
    ::testing::Values(
        ReopenedCase{"SystemChosen", Choose(Os(kDescription1)), kKey1, {kPlayerTerminated, ExitRequest(EWX_REBOOT)}},
        ReopenedCase{"Hibernate", Choose(kHibernate), kKey3, {kSuspendStarted}},
        ReopenedCase{"HibernateWithCtrl", Choose(kHibernate, true), kKey3, {kSuspendStarted}},
        ReopenedCase{"TurnOff", Choose(kTurnOff), kKey3, {kPlayerTerminated, ExitRequest(EWX_POWEROFF)}},
        ReopenedCase{"Cancel", Choose(kCancel), kKey3, {}},
        ReopenedCase{"Dismissed", Dismiss(), kKey3, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CtrlPath, CtrlHeldAgainReopensOnceMore) {
    PrepareRoad();
    ChooseThirdWithCtrl();
    winsim::QueueTrackScript(Choose(Os(kDescription1), true));
    winsim::QueueTrackScript(Choose(Os(kDescription2)));

    EXPECT_EQ(RunProgram(), 0);

    ASSERT_EQ(winsim::Trackings().size(), 3u);
    EXPECT_EQ(OsItems(winsim::Trackings()[2]),
              (std::vector<std::string>{Checked(Os(kDescription1)), Os(kDescription2), Os(kDescription3)}));
    EXPECT_EQ(winsim::Trackings()[2].point.x, kCursorX);
    EXPECT_EQ(BootIniNow(), BootIni(kKey2));
    EXPECT_EQ(Content("c/boot.old"), BootIni(kKey1)) << "each rewrite backs up the file it replaces";
    EXPECT_EQ(winsim::Requests(), (std::vector<winsim::Request>{kPlayerTerminated, ExitRequest(EWX_REBOOT)}));
    ExpectNothingLeft();
}

TEST_F(CtrlPath, ChoosingTheCurrentDefaultRewritesAndKeepsItsMark) {
    PrepareRoad();
    winsim::QueueTrackScript(Choose(Os(kDescription2), true));
    winsim::QueueTrackScript(Dismiss());

    EXPECT_EQ(RunProgram(), 0);

    ASSERT_EQ(winsim::Trackings().size(), 2u);
    EXPECT_EQ(OsItems(winsim::Trackings()[1]),
              (std::vector<std::string>{Os(kDescription1), Checked(Os(kDescription2)), Os(kDescription3)}));
    EXPECT_EQ(BootIniNow(), BootIni(kKey2));
    EXPECT_EQ(Content("c/boot.old"), BootIni(kKey2));
    EXPECT_TRUE(winsim::Requests().empty());
}

}  // namespace
}  // namespace mvorbel::testing
