#include <gtest/gtest.h>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"

namespace {

using winsim::Request;
using Requests = std::vector<Request>;

class SystemPower : public ::testing::Test {
protected:
    void SetUp() override { winsim::Reset(); }

    static void EnableShutdown() {
        HANDLE token = nullptr;
        ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token));
        TOKEN_PRIVILEGES wanted = {1};
        LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &wanted.Privileges[0].Luid);
        wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &wanted, 0, nullptr, nullptr));
        CloseHandle(token);
    }
};

TEST_F(SystemPower, NtNeedsShutdownPrivilegeButRecordsTheAttempt) {
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(ExitWindowsEx(EWX_REBOOT, 1));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_PRIVILEGE_NOT_HELD});
    EnableShutdown();
    EXPECT_TRUE(ExitWindowsEx(EWX_POWEROFF | EWX_FORCE, 1));
    EXPECT_EQ(winsim::Requests(), (Requests{{"ExitWindowsEx", {"2", "1"}}, {"ExitWindowsEx", {"12", "1"}}}));
}

TEST_F(SystemPower, NineXNeedsNoPrivilegeAndLogOffNeverDoes) {
    EXPECT_TRUE(ExitWindowsEx(EWX_LOGOFF, 0));
    winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    EXPECT_TRUE(ExitWindowsEx(EWX_SHUTDOWN, 1));
}

TEST_F(SystemPower, WinExecRecordsAndReportsFailureAsResult) {
    EXPECT_GT(WinExec("rundll32.exe powrprof.dll,SetSuspendState", 0), 31u);
    winsim::FailCall("WinExec", 1, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(WinExec("nothing.exe", 1), UINT{ERROR_FILE_NOT_FOUND});
    EXPECT_EQ(winsim::Requests(), (Requests{{"WinExec", {"rundll32.exe powrprof.dll,SetSuspendState", "0"}}}));
}

TEST_F(SystemPower, MessageBoxAnswersQueuedThenAnswererThenDefaultButton) {
    winsim::QueueMessageBoxAnswer(IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "one", "Title", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "two", nullptr, MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "three", "T", MB_OK | MB_ICONERROR), IDOK);
    std::string seenCaption;
    winsim::AnswerMessageBoxes([&](const winsim::MessageBoxCall& call) {
        seenCaption = call.caption;
        return IDRETRY;
    });
    EXPECT_EQ(MessageBoxA(nullptr, "four", nullptr, MB_RETRYCANCEL), IDRETRY);
    EXPECT_EQ(seenCaption, "Error");
    EXPECT_EQ(winsim::Requests()[1], (Request{"MessageBoxA", {"0", "two", "Error", "260"}}));
    EXPECT_EQ(winsim::Requests().size(), 4u);
}

}  // namespace
