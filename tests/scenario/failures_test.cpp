// Runs that do not go to plan: no boot.ini, a rewrite that did not take effect, and files that
// can't be read, which end in the runtime's error box.
#include "tests/scenario/scenario_fixture.h"

namespace mvorbel::testing {
namespace {

using Requests = std::vector<winsim::Request>;

class Failures : public Scenario {};

TEST_F(Failures, NoBootIniShowsOneNoticeAndQuits) {
    for (bool folder : {false, true}) {
        PutSettings("force=1\r\n");
        PutHibernationFile();
        if (folder) std::filesystem::create_directories(host_ / "c" / "boot.ini");

        EXPECT_EQ(RunProgram(), 0) << "folder " << folder;

        EXPECT_EQ(winsim::Requests(), Requests{NoticeRequest(kNoBootFileNotice)}) << "folder " << folder;
        EXPECT_TRUE(winsim::Trackings().empty()) << "folder " << folder;
        EXPECT_FALSE(chooserState.force) << "the Settings file is not read";
        ExpectNothingLeft();
        TearDown();
        SetUp();
    }
}

struct RewriteFailure {
    const char* name;
    std::string bootIni;
    const char* failingCall;  // nullptr: none
};

class RewriteFails : public Scenario, public ::testing::WithParamInterface<RewriteFailure> {
 protected:
    void SetUp() override {
        Scenario::SetUp();
        PrepareRoad();
        PutBootIni(GetParam().bootIni);
        if (GetParam().failingCall != nullptr) winsim::FailCall(GetParam().failingCall, 1, ERROR_DISK_FULL);
    }
};

TEST_P(RewriteFails, NoticeInsteadOfRestart) {
    winsim::QueueTrackScript(Choose(Os(kDescription3)));

    EXPECT_EQ(RunProgram(), 0);

    EXPECT_EQ(BootIniNow(), GetParam().bootIni);
    EXPECT_EQ(winsim::Requests(), Requests{NoticeRequest(kRewriteFailedNotice)});
    EXPECT_EQ(winsim::Trackings().size(), 1u);
    ExpectNothingLeft();
}

TEST_P(RewriteFails, WithCtrlTheNoticeComesFirstAndTheMarksShowTheOldDefault) {
    winsim::QueueTrackScript(Choose(Os(kDescription3), true));
    Requests requestsWhileReopened;
    winsim::QueueTrackScript([&](const winsim::Tracking& tracking) {
        requestsWhileReopened = winsim::Requests();
        return Dismiss()(tracking);
    });

    EXPECT_EQ(RunProgram(), 0);

    EXPECT_EQ(requestsWhileReopened, Requests{NoticeRequest(kRewriteFailedNotice)});
    EXPECT_EQ(winsim::Requests(), requestsWhileReopened);
    ASSERT_EQ(winsim::Trackings().size(), 2u);
    const bool oldDefault = GetParam().bootIni == BootIni(kKey2);
    EXPECT_EQ(Shown(winsim::Trackings()[1], 3),
              (std::vector<std::string>{Os(kDescription1), oldDefault ? Checked(Os(kDescription2)) : Os(kDescription2),
                                        Os(kDescription3)}));
    EXPECT_EQ(BootIniNow(), GetParam().bootIni);
}

INSTANTIATE_TEST_SUITE_P(
    Scenario, RewriteFails,
    ::testing::Values(RewriteFailure{"ReplaceRefused", BootIni(kKey2), "MoveFileExA"},
                      RewriteFailure{"TemporaryFileNotFlushed", BootIni(kKey2), "FlushFileBuffers"},
                      RewriteFailure{"NoDefaultLineToRewrite", "[operating systems]\r\n" + kKey1 + "=" + kDescription1 +
                                                                   "\r\n" + kKey2 + "=" + kDescription2 + "\r\n" +
                                                                   kKey3 + "=" + kDescription3 + "\r\n",
                                     nullptr}),
    kCaseName);

struct UnreadableCase {
    const char* name;
    std::string settings;
    int failingOpen;  // the nth CreateFileA of the run fails with 5
    bool chooseWithCtrl;
    std::string defaultAfter;
};

class Unreadable : public Scenario, public ::testing::WithParamInterface<UnreadableCase> {};

TEST_P(Unreadable, EndsInTheErrorBoxWithExitCode1) {
    PrepareRoad();
    if (!GetParam().settings.empty()) PutSettings(GetParam().settings);
    winsim::FailCall("CreateFileA", GetParam().failingOpen, ERROR_ACCESS_DENIED);
    winsim::SetTrackScript(Choose(Os(kDescription3), GetParam().chooseWithCtrl));

    EXPECT_EQ(RunProgram(), 1);

    ASSERT_EQ(winsim::Requests().size(), 1u) << "no restart after the error";
    const winsim::Request& box = winsim::Requests()[0];
    ASSERT_EQ(box.args.size(), 4u);
    EXPECT_EQ(box.call, "MessageBoxA");
    EXPECT_EQ(box.args[2], "Application Error");
    EXPECT_EQ(box.args[3], std::to_string(MB_TASKMODAL | MB_ICONERROR));
    EXPECT_TRUE(box.args[1].starts_with("Exception EInOutError in module mvorbel.exe at ")) << box.args[1];
    EXPECT_TRUE(box.args[1].ends_with("\nFile access denied.")) << box.args[1];
    EXPECT_EQ(BootIniNow(), BootIni(GetParam().defaultAfter));
}

INSTANTIATE_TEST_SUITE_P(Scenario, Unreadable,
                         ::testing::Values(UnreadableCase{"BootIniAtTheFirstRead", "", 1, false, kKey2},
                                           UnreadableCase{"SettingsFile", "cancel=0", 1, false, kKey2},
                                           UnreadableCase{"BootIniForTheRewrite", "", 3, false, kKey2},
                                           UnreadableCase{"BootIniAfterTheCtrlRewrite", "", 5, true, kKey3}),
                         kCaseName);

}  // namespace
}  // namespace mvorbel::testing
