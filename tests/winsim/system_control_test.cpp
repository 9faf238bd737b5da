// winsim's system test API: version, modules, paths, the process table, privileges, and the
// requests recorded instead of acting on the host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"
#include "platform/winsim/ui/ui.h"

namespace {

constexpr DWORD kSentinel = 0xDEADBEEF;
using Requests = std::vector<winsim::Request>;

class SystemControl : public ::testing::Test {
 protected:
    void SetUp() override {
        winsim::Reset();
        winsim::SetProcesses({{100, "explorer.exe"}, {200, "Winamp.exe", 100}, {300, "csrss.exe", 4, true}});
    }

    static HANDLE Token(DWORD access = TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY) {
        HANDLE token = nullptr;
        EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), access, &token));
        return token;
    }

    static TOKEN_PRIVILEGES Shutdown() {
        TOKEN_PRIVILEGES privileges = {1};
        EXPECT_TRUE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid));
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        return privileges;
    }
};

TEST_F(SystemControl, VersionAsSetAndNineXPacksItIntoTheBuildNumber) {
    OSVERSIONINFOA info = {sizeof info};
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ((std::vector<DWORD>{VER_PLATFORM_WIN32_NT, 5, 1, 2600}),
              (std::vector<DWORD>{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber}));
    winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(DWORD{VER_PLATFORM_WIN32_WINDOWS}, info.dwPlatformId);
    EXPECT_EQ(0x040A07CEu, info.dwBuildNumber) << std::hex << info.dwBuildNumber;
    winsim::FailCall("GetVersionExA", 1, ERROR_ACCESS_DENIED);
    OSVERSIONINFOA failed = {sizeof failed};
    SetLastError(kSentinel);
    EXPECT_FALSE(GetVersionExA(&failed));
    EXPECT_EQ(DWORD{ERROR_ACCESS_DENIED}, GetLastError());
    EXPECT_EQ(0u, failed.dwPlatformId);
}

TEST_F(SystemControl, ModulesAndEntryPointsCanGoMissingUntilReset) {
    for (const char* name : {"kernel32.dll", "KERNEL32.DLL", "Kernel32"})
        EXPECT_EQ(reinterpret_cast<void (*)()>(&Process32Next),
                  reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA(name), "Process32Next")))
            << name;
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    winsim::SetProcMissing("KERNEL32.dll", "Process32First");
    for (const char* proc : {"Process32First", "process32next"}) {
        SetLastError(kSentinel);
        EXPECT_EQ(nullptr, GetProcAddress(kernel, proc)) << proc << ": missing, or export names keep their case";
        EXPECT_EQ(DWORD{ERROR_PROC_NOT_FOUND}, GetLastError()) << proc;
    }
    winsim::SetModuleMissing("kernel32.dll");
    SetLastError(kSentinel);
    EXPECT_EQ(nullptr, GetModuleHandleA("kernel32.dll"));
    EXPECT_EQ(DWORD{ERROR_MOD_NOT_FOUND}, GetLastError());
    winsim::Reset();
    EXPECT_NE(nullptr, GetProcAddress(GetModuleHandleA("kernel32.dll"), "Process32First"));
}

TEST_F(SystemControl, PathsAsSet) {
    winsim::SetModuleFileName("C:\\Tools\\mvorbel.exe");
    winsim::SetCommandLine("mvorbel.exe  \"a b\"");
    winsim::SetSystemDirectory("C:\\WINNT\\system32");
    char buffer[MAX_PATH + 1];
    EXPECT_EQ(20u, GetModuleFileNameA(nullptr, buffer, sizeof buffer));
    EXPECT_STREQ("C:\\Tools\\mvorbel.exe", buffer);
    EXPECT_EQ(GetModuleHandleA(nullptr), GetModuleHandleA("MVORBEL.EXE"));
    EXPECT_STREQ("mvorbel.exe  \"a b\"", GetCommandLineA());
    EXPECT_EQ(17u, GetSystemDirectoryA(buffer, sizeof buffer));
    EXPECT_STREQ("C:\\WINNT\\system32", buffer);
    winsim::FailCall("GetSystemDirectoryA", 1, ERROR_ACCESS_DENIED);
    SetLastError(kSentinel);
    EXPECT_EQ(0u, GetSystemDirectoryA(buffer, sizeof buffer));
    EXPECT_EQ(DWORD{ERROR_ACCESS_DENIED}, GetLastError());
}

TEST_F(SystemControl, SnapshotIsACopyOfTheTableTakenAtCreation) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(INVALID_HANDLE_VALUE, snapshot);
    winsim::SetProcesses({});
    for (int walk = 0; walk < 2; ++walk) {  // First starts the walk again.
        std::vector<std::string> seen;
        PROCESSENTRY32 entry = {sizeof entry};
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
            seen.push_back(std::to_string(entry.th32ProcessID) + " " + entry.szExeFile + " " +
                           std::to_string(entry.th32ParentProcessID));
        EXPECT_EQ((std::vector<std::string>{"100 explorer.exe 0", "200 Winamp.exe 100", "300 csrss.exe 4"}), seen);
        EXPECT_EQ(DWORD{ERROR_NO_MORE_FILES}, GetLastError());
    }
    EXPECT_TRUE(CloseHandle(snapshot));
    winsim::FailCall("CreateToolhelp32Snapshot", 1, ERROR_NOT_ENOUGH_MEMORY);
    SetLastError(kSentinel);
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    EXPECT_EQ(DWORD{ERROR_NOT_ENOUGH_MEMORY}, GetLastError());
}

TEST_F(SystemControl, TerminateIsRecordedAndRemovesTheProcess) {
    const struct {
        DWORD pid;
        DWORD error;
    } refused[] = {{999, ERROR_INVALID_PARAMETER}, {300, ERROR_ACCESS_DENIED}};
    for (const auto& c : refused) {
        SetLastError(kSentinel);
        EXPECT_EQ(nullptr, OpenProcess(PROCESS_TERMINATE, FALSE, c.pid)) << "pid " << c.pid;
        EXPECT_EQ(c.error, GetLastError()) << "pid " << c.pid << " (protected)";
    }
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, 200);
    ASSERT_NE(nullptr, process);
    EXPECT_TRUE(TerminateProcess(process, 7));
    EXPECT_EQ((Requests{{"TerminateProcess", {"200", "7"}}}), winsim::Requests());
    EXPECT_EQ(2u, winsim::Processes().size());
    SetLastError(kSentinel);
    EXPECT_FALSE(TerminateProcess(process, 7)) << "an ended process can't end again";
    EXPECT_EQ(DWORD{ERROR_ACCESS_DENIED}, GetLastError());
    EXPECT_TRUE(CloseHandle(process));
    EXPECT_EQ(0u, winsim::OpenHandleCount());
    winsim::Reset();
    bool found = false;
    for (const auto& p : winsim::Processes()) found |= p.pid == GetCurrentProcessId();
    EXPECT_TRUE(found) << "the default table lists this process";
    EXPECT_TRUE(winsim::Requests().empty());
}

TEST_F(SystemControl, EnablingReportsThePreviousStateOfWhatChanged) {
    HANDLE token = Token();
    TOKEN_PRIVILEGES wanted = Shutdown(), previous = {};
    DWORD length = 0;
    SetLastError(kSentinel);
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &wanted, sizeof previous, &previous, &length));
    EXPECT_EQ(DWORD{ERROR_SUCCESS}, GetLastError());
    EXPECT_EQ(sizeof previous, length);
    EXPECT_EQ(1u, previous.PrivilegeCount);
    EXPECT_EQ(0u, previous.Privileges[0].Attributes);
    EXPECT_TRUE(winsim::PrivilegeEnabled(SE_SHUTDOWN_NAME));
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &wanted, sizeof previous, &previous, &length));
    EXPECT_EQ(0u, previous.PrivilegeCount) << "enabling again changes nothing";
    ASSERT_TRUE(winsim::PrivilegeEnabled(SE_CHANGE_NOTIFY_NAME));
    EXPECT_TRUE(AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr));
    EXPECT_FALSE(winsim::PrivilegeEnabled(SE_CHANGE_NOTIFY_NAME)) << "disabling all reaches the default ones";
    CloseHandle(token);

    winsim::SetPrivilegeHeld(SE_SHUTDOWN_NAME, false);
    token = Token();
    SetLastError(kSentinel);
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &wanted, 0, nullptr, nullptr));
    EXPECT_EQ(DWORD{ERROR_NOT_ALL_ASSIGNED}, GetLastError());
    EXPECT_FALSE(winsim::PrivilegeEnabled(SE_SHUTDOWN_NAME));
    CloseHandle(token);
}

TEST_F(SystemControl, AdjustingRefusals) {
    TOKEN_PRIVILEGES wanted = Shutdown(), previous = {};
    DWORD length = 0;
    HANDLE queryOnly = Token(TOKEN_QUERY), adjustOnly = Token(TOKEN_ADJUST_PRIVILEGES), full = Token();
    const struct {
        const char* what;
        HANDLE token;
        PTOKEN_PRIVILEGES previous;
        DWORD bufferLength;
        DWORD error;
    } cases[] = {
        {"no adjust right", queryOnly, nullptr, 0, ERROR_ACCESS_DENIED},
        {"previous state needs query", adjustOnly, &previous, sizeof previous, ERROR_ACCESS_DENIED},
        {"previous state too small", full, &previous, 4, ERROR_INSUFFICIENT_BUFFER},
        {"not a token", reinterpret_cast<HANDLE>(0x4444), nullptr, 0, ERROR_INVALID_HANDLE},
    };
    for (const auto& c : cases) {
        SetLastError(kSentinel);
        EXPECT_FALSE(AdjustTokenPrivileges(c.token, FALSE, &wanted, c.bufferLength, c.previous, &length)) << c.what;
        EXPECT_EQ(c.error, GetLastError()) << c.what;
        EXPECT_FALSE(winsim::PrivilegeEnabled(SE_SHUTDOWN_NAME)) << c.what;
    }
    EXPECT_EQ(sizeof previous, length) << "the size needed is reported";
    for (HANDLE token : {queryOnly, adjustOnly, full}) CloseHandle(token);

    winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    HANDLE token = nullptr;
    LUID luid = {};
    SetLastError(kSentinel);
    EXPECT_FALSE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) << "9x has no security";
    EXPECT_EQ(DWORD{ERROR_CALL_NOT_IMPLEMENTED}, GetLastError());
    SetLastError(kSentinel);
    EXPECT_FALSE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &luid));
    EXPECT_EQ(DWORD{ERROR_CALL_NOT_IMPLEMENTED}, GetLastError());
}

TEST_F(SystemControl, PowerRequestsAreRecordedNeverActedOn) {
    SetLastError(kSentinel);
    EXPECT_FALSE(ExitWindowsEx(EWX_REBOOT, 1)) << "NT needs the shutdown privilege";
    EXPECT_EQ(DWORD{ERROR_PRIVILEGE_NOT_HELD}, GetLastError());
    HANDLE token = Token();
    TOKEN_PRIVILEGES wanted = Shutdown();
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &wanted, 0, nullptr, nullptr));
    CloseHandle(token);
    EXPECT_TRUE(ExitWindowsEx(EWX_POWEROFF | EWX_FORCE, 1));
    EXPECT_EQ((Requests{{"ExitWindowsEx", {"2", "1"}}, {"ExitWindowsEx", {"12", "1"}}}), winsim::Requests())
        << "the refused attempt is recorded too";
    winsim::Reset();
    EXPECT_TRUE(ExitWindowsEx(EWX_LOGOFF, 0)) << "logging off needs no privilege";
    winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    EXPECT_TRUE(ExitWindowsEx(EWX_SHUTDOWN, 1)) << "9x needs no privilege";
    winsim::Reset();
    EXPECT_GT(WinExec("rundll32.exe powrprof.dll,SetSuspendState", 0), 31u);
    winsim::FailCall("WinExec", 1, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(UINT{ERROR_FILE_NOT_FOUND}, WinExec("nothing.exe", 1)) << "failure is the result, not the last error";
    EXPECT_EQ((Requests{{"WinExec", {"rundll32.exe powrprof.dll,SetSuspendState", "0"}}}), winsim::Requests());
}

TEST_F(SystemControl, MessageBoxesAreAnsweredQueuedThenByTheAnswererThenByTheDefaultButton) {
    winsim::QueueMessageBoxAnswer(IDCANCEL);
    EXPECT_EQ(IDCANCEL, MessageBoxA(nullptr, "one", "Title", MB_OKCANCEL));
    EXPECT_EQ(IDNO, MessageBoxA(nullptr, "two", nullptr, MB_YESNO | MB_DEFBUTTON2));
    EXPECT_EQ(IDOK, MessageBoxA(nullptr, "three", "T", MB_OK | MB_ICONERROR));
    std::string seenCaption;
    winsim::AnswerMessageBoxes([&](const winsim::MessageBoxCall& call) {
        seenCaption = call.caption;
        return IDRETRY;
    });
    EXPECT_EQ(IDRETRY, MessageBoxA(nullptr, "four", nullptr, MB_RETRYCANCEL));
    EXPECT_EQ("Error", seenCaption);
    ASSERT_EQ(4u, winsim::Requests().size());
    EXPECT_EQ((winsim::Request{"MessageBoxA", {"0", "two", "Error", "260"}}), winsim::Requests()[1]);

    // A pending quit message ends the box's modal loop before the user sees it, and stays pending.
    PostQuitMessage(3);
    EXPECT_EQ(0, MessageBoxA(nullptr, "five", "T", MB_OK));
    EXPECT_EQ(1u, winsim::MessageBoxesCutShort());
    MSG quit{};
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), quit.message);
    EXPECT_EQ(3u, quit.wParam);
}

}  // namespace
