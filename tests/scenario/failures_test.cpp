// Runs that do not go to plan: no boot.ini, a rewrite that did not take effect, and files that
// can't be read, which end in the runtime's error box.
#include "tests/scenario/scenario_fixture.h"

namespace mvorbel::testing {
namespace {

class Failures : public Scenario {};

TEST_F(Failures, NoBootIniShowsOneNoticeAndQuits) {
    PutSettings("force=1\r\n");
    PutHibernationFile();

    EXPECT_EQ(RunProgram(), 0);

    EXPECT_EQ(winsim::Requests(),
              (std::vector<winsim::Request>{MessageBoxRequest(kNoBootFileNotice, "mVorbel", MB_OK)}));
    EXPECT_TRUE(winsim::Trackings().empty());
    EXPECT_FALSE(chooserState.force) << "the Settings file is not read";
    EXPECT_FALSE(Exists("c/boot.ini"));
    ExpectNothingLeft();
}

TEST_F(Failures, AFolderNamedBootIniIsNoBootIni) {
    std::filesystem::create_directories(host_ / "c" / "boot.ini");

    EXPECT_EQ(RunProgram(), 0);

    EXPECT_EQ(winsim::Requests(),
              (std::vector<winsim::Request>{MessageBoxRequest(kNoBootFileNotice, "mVorbel", MB_OK)}));
    EXPECT_TRUE(winsim::Trackings().empty());
}

struct RewriteFailure {
    const char* name;
    std::string bootIni;
    const char* failingCall;  // nullptr: none
    DWORD error;
};
void PrintTo(const RewriteFailure& c, std::ostream* out) { *out << c.name; }

class RewriteFails : public Scenario, public ::testing::WithParamInterface<RewriteFailure> {
 protected:
    void Prepare() {
        PutBootIni(GetParam().bootIni);
        PutHibernationFile();
        StartPlayer();
        if (GetParam().failingCall != nullptr) winsim::FailCall(GetParam().failingCall, 1, GetParam().error);
    }
};

TEST_P(RewriteFails, NoticeInsteadOfRestart) {
    Prepare();
    winsim::QueueTrackScript(Choose(Os(kDescription3)));

    EXPECT_EQ(RunProgram(), 0);

    EXPECT_EQ(BootIniNow(), GetParam().bootIni);
    EXPECT_EQ(winsim::Requests(),
              (std::vector<winsim::Request>{MessageBoxRequest(kRewriteFailedNotice, "mVorbel", MB_OK)}));
    EXPECT_EQ(winsim::Trackings().size(), 1u);
    ExpectNothingLeft();
}

TEST_P(RewriteFails, WithCtrlTheNoticeComesFirstAndTheMarksShowTheOldDefault) {
    Prepare();
    winsim::QueueTrackScript(Choose(Os(kDescription3), true));
    std::vector<winsim::Request> requestsWhileReopened;
    winsim::QueueTrackScript([&](const winsim::Tracking& tracking) {
        requestsWhileReopened = winsim::Requests();
        return Dismiss()(tracking);
    });

    EXPECT_EQ(RunProgram(), 0);

    const std::vector<winsim::Request> notice{MessageBoxRequest(kRewriteFailedNotice, "mVorbel", MB_OK)};
    EXPECT_EQ(requestsWhileReopened, notice);
    EXPECT_EQ(winsim::Requests(), notice);
    ASSERT_EQ(winsim::Trackings().size(), 2u);
    const std::vector<std::string> shown = Shown(winsim::Trackings()[1]);
    const bool oldDefault = GetParam().bootIni == BootIni(kKey2);
    EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + 3),
              (std::vector<std::string>{Os(kDescription1), oldDefault ? Checked(Os(kDescription2)) : Os(kDescription2),
                                        Os(kDescription3)}));
    EXPECT_EQ(BootIniNow(), GetParam().bootIni);
}

const std::string kWithoutDefault = "[operating systems]\r\n" + kKey1 + "=" + kDescription1 + "\r\n" + kKey2 + "=" +
                                    kDescription2 + "\r\n" + kKey3 + "=" + kDescription3 + "\r\n";

INSTANTIATE_TEST_SUITE_P(
    Scenario, RewriteFails,
    ::testing::Values(RewriteFailure{"ReplaceRefused", BootIni(kKey2), "MoveFileExA", ERROR_ACCESS_DENIED},
                      RewriteFailure{"TemporaryFileNotWritten", BootIni(kKey2), "WriteFile", ERROR_DISK_FULL},
                      RewriteFailure{"TemporaryFileNotFlushed", BootIni(kKey2), "FlushFileBuffers", ERROR_DISK_FULL},
                      RewriteFailure{"NoDefaultLineToRewrite", kWithoutDefault, nullptr, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct UnreadableCase {
    const char* name;
    std::string settings;
    int failingOpen;  // the nth CreateFileA of the run fails with 5
    bool chooseWithCtrl;
    std::string defaultAfter;
};
void PrintTo(const UnreadableCase& c, std::ostream* out) { *out << c.name; }

class Unreadable : public Scenario, public ::testing::WithParamInterface<UnreadableCase> {};

constexpr UINT kErrorBoxType = MB_TASKMODAL | MB_ICONERROR;
constexpr const char* kErrorTextStart = "Exception EInOutError in module mvorbel.exe at ";

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
    EXPECT_EQ(box.args[3], std::to_string(kErrorBoxType));
    EXPECT_EQ(box.args[1].rfind(kErrorTextStart, 0), 0u) << box.args[1];
    EXPECT_TRUE(box.args[1].ends_with("\nFile access denied.")) << box.args[1];
    EXPECT_EQ(BootIniNow(), BootIni(GetParam().defaultAfter));
}

INSTANTIATE_TEST_SUITE_P(Scenario, Unreadable,
                         ::testing::Values(UnreadableCase{"BootIniAtTheFirstRead", "", 1, false, kKey2},
                                           UnreadableCase{"BootIniForTheDefault", "", 2, false, kKey2},
                                           UnreadableCase{"SettingsFile", "cancel=0", 1, false, kKey2},
                                           UnreadableCase{"BootIniForTheRewrite", "", 3, false, kKey2},
                                           UnreadableCase{"BootIniAfterTheCtrlRewrite", "", 5, true, kKey3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Failures, BootIniHeldWithoutReadSharingEndsInTheErrorBox) {
    PrepareRoad();
    HANDLE held = CreateFileA("c:\\boot.ini", GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    EXPECT_EQ(RunProgram(), 1);
    CloseHandle(held);

    ASSERT_EQ(winsim::Requests().size(), 1u);
    EXPECT_EQ(winsim::Requests()[0].args[2], "Application Error");
    // The runtime has no text of its own for a sharing violation.
    EXPECT_TRUE(winsim::Requests()[0].args[1].ends_with("\nI/O error 32.")) << winsim::Requests()[0].args[1];
    EXPECT_TRUE(winsim::Trackings().empty());
}

}  // namespace
}  // namespace mvorbel::testing
