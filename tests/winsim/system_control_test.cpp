// winsim's system test API: modules, the process table, privileges, and the requests recorded
// instead of acting on the host.
#include <string>
#include <vector>

#include "platform/winsim/system/system_control.h"
#include "platform/winsim/ui/ui.h"
#include "tests/winsim/winsim_fixture.h"

namespace winsim_test {
namespace {

using SystemControl = Winsim;
using Requests = std::vector<winsim::Request>;

HANDLE Token(DWORD access = TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY) {
    HANDLE token = nullptr;
    EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), access, &token)) << GetLastError();
    return token;
}

TOKEN_PRIVILEGES Shutdown() {
    TOKEN_PRIVILEGES privileges = {1};
    EXPECT_TRUE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid));
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    return privileges;
}

TEST_F(SystemControl, OneEntryPointGoesMissing) {
    HMODULE kernel = GetModuleHandleA("Kernel32");
    winsim::SetProcMissing("KERNEL32.dll", "Process32First");
    ExpectRefusals({{"missing", [&] { return GetProcAddress(kernel, "Process32First"); }, ERROR_PROC_NOT_FOUND}});
    EXPECT_NE(nullptr, GetProcAddress(kernel, "Process32Next")) << "only the one named";
}

TEST_F(SystemControl, TerminateIsRecordedAndRemovesTheProcessButNotFromAnEarlierSnapshot) {
    winsim::SetProcesses({{200, "Winamp.exe", 100}, {300, "csrss.exe", 4, true}});
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, 200);
    EXPECT_TRUE(TerminateProcess(process, 7));
    EXPECT_EQ((Requests{{"TerminateProcess", {"200", "7"}}}), winsim::Requests());
    EXPECT_EQ(1u, winsim::Processes().size());
    std::string seen;
    PROCESSENTRY32 entry = {sizeof entry};
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        seen += std::to_string(entry.th32ProcessID) + " " + entry.szExeFile + " " +
                std::to_string(entry.th32ParentProcessID) + ", ";
    EXPECT_EQ("200 Winamp.exe 100, 300 csrss.exe 4, ", seen);
    CloseHandle(snapshot);
    ExpectRefusals({{"protected", [] { return OpenProcess(PROCESS_TERMINATE, FALSE, 300); }, ERROR_ACCESS_DENIED}});
    CloseHandle(process);
}

TEST_F(SystemControl, ToolHelpNamesImagesByFullPathOn9xAndByFileNameOnNt) {
    const winsim::Process winamp{200, "Winamp.exe", 0, false, "C:\\PROGRAM FILES\\WINAMP\\WINAMP.EXE"};
    const struct {
        bool win9x;
        winsim::Process process;
        const char* exeFile;
    } cases[] = {
        {false, winamp, "Winamp.exe"},
        {true, winamp, "C:\\PROGRAM FILES\\WINAMP\\WINAMP.EXE"},
        {true, {300, "EXPLORER.EXE"}, "C:\\WINDOWS\\EXPLORER.EXE"},
        {true, {winsim::kCurrentProcessId, "mvorbel.exe"}, "C:\\Program Files\\mVorbel\\mvorbel.exe"},
    };
    for (const auto& c : cases) {
        winsim::SetVersion(c.win9x ? VER_PLATFORM_WIN32_WINDOWS : VER_PLATFORM_WIN32_NT, 4, c.win9x ? 10 : 0);
        winsim::SetProcesses({c.process});
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry = {sizeof entry};
        EXPECT_TRUE(Process32First(snapshot, &entry));
        EXPECT_STREQ(c.exeFile, entry.szExeFile) << (c.win9x ? "9x" : "NT");
        CloseHandle(snapshot);
    }
}

TEST_F(SystemControl, APrivilegeIsEnabledOnlyWhenHeld) {
    HANDLE token = Token();
    TOKEN_PRIVILEGES wanted = Shutdown();
    EXPECT_FALSE(winsim::PrivilegeEnabled(SE_SHUTDOWN_NAME));
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &wanted, 0, nullptr, nullptr));
    EXPECT_TRUE(winsim::PrivilegeEnabled(SE_SHUTDOWN_NAME));
    winsim::Reset();
    winsim::SetPrivilegeHeld(SE_SHUTDOWN_NAME, false);
    token = Token();
    SetLastError(0xDEADBEEF);
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &wanted, 0, nullptr, nullptr));
    EXPECT_EQ(DWORD{ERROR_NOT_ALL_ASSIGNED}, GetLastError());
    EXPECT_FALSE(winsim::PrivilegeEnabled(SE_SHUTDOWN_NAME));
    CloseHandle(token);
}

// What only the NT family has: security, MoveFileExA, the wide menu calls (stubs on 9x).
TEST_F(SystemControl, TheNineXFamilyLacksTheNtOnlyCalls) {
    Put("C:\\a.txt", "x");
    HMENU menu = CreatePopupMenu();
    MENUITEMINFOW wide = {sizeof wide};
    wide.fMask = MIIM_STRING;
    wide.dwTypeData = const_cast<WCHAR*>(u"Отмена");
    HANDLE token = nullptr;
    winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    ExpectRefusals({
        {"OpenProcessToken", [&] { return OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token); },
         ERROR_CALL_NOT_IMPLEMENTED},
        {"MoveFileExA", [] { return MoveFileExA("C:\\a.txt", "C:\\b.txt", 0); }, ERROR_CALL_NOT_IMPLEMENTED},
        {"InsertMenuItemW", [&] { return InsertMenuItemW(menu, 0, TRUE, &wide); }, ERROR_CALL_NOT_IMPLEMENTED},
        {"SetMenuItemInfoW", [&] { return SetMenuItemInfoW(menu, 0, TRUE, &wide); }, ERROR_CALL_NOT_IMPLEMENTED},
    });
    EXPECT_EQ(0, GetMenuItemCount(menu));
    EXPECT_TRUE(MoveFileA("C:\\a.txt", "C:\\b.txt")) << GetLastError();
    winsim::SetVersion(VER_PLATFORM_WIN32_NT, 4, 0);
    EXPECT_TRUE(MoveFileExA("C:\\b.txt", "C:\\c.txt", 0)) << GetLastError();
}

TEST_F(SystemControl, PowerRequestsAreRecordedNeverActedOn) {
    ExpectRefusals({{"restart on NT without the privilege",
                     [] { return ExitWindowsEx(EWX_REBOOT, 1); }, ERROR_PRIVILEGE_NOT_HELD}});
    winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    EXPECT_TRUE(ExitWindowsEx(EWX_SHUTDOWN, 0)) << "the 9x family has no privileges to check";
    winsim::FailCall("WinExec", 1, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(UINT{ERROR_FILE_NOT_FOUND}, WinExec("rundll32.exe", 1)) << "a fault is the result";
    EXPECT_EQ(33u, WinExec("RUNDLL32 x", 1)) << "found by name, without its extension";
    EXPECT_EQ((Requests{{"ExitWindowsEx", {"2", "1"}},
                        {"ExitWindowsEx", {"1", "0"}},
                        {"WinExec", {"RUNDLL32 x", "1"}}}),
              winsim::Requests());
}

TEST_F(SystemControl, MessageBoxesAreAnsweredQueuedThenByTheAnswererThenByTheDefaultButton) {
    winsim::QueueMessageBoxAnswer(IDCANCEL);
    EXPECT_EQ(IDCANCEL, MessageBoxA(nullptr, "one", "Title", MB_OKCANCEL));
    EXPECT_EQ(IDNO, MessageBoxA(nullptr, "two", nullptr, MB_YESNO | MB_DEFBUTTON2));
    winsim::AnswerMessageBoxes([](const winsim::MessageBoxCall& call) {
        return call.caption == "Error" ? IDRETRY : IDABORT;
    });
    EXPECT_EQ(IDRETRY, MessageBoxA(nullptr, "three", nullptr, MB_RETRYCANCEL));
    EXPECT_EQ(IDRETRY, MessageBoxW(nullptr, u"Отмена", nullptr, MB_RETRYCANCEL));
    EXPECT_EQ((winsim::Request{"MessageBoxW", {"0", "Отмена", "Error", "5"}}), winsim::Requests().back())
        << "the wide box's texts in UTF-8";

    // What the box does then is a contract test's; here only that it is counted.
    PostQuitMessage(3);
    MessageBoxA(nullptr, "five", "T", MB_OK);
    EXPECT_EQ(1u, winsim::MessageBoxesCutShort());
}

}  // namespace
}  // namespace winsim_test
