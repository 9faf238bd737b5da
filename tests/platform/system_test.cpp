// The system calls as the product makes them: version, module and paths, tool help, processes, the
// token, WinExec, the error box, the ANSI code page. ExitWindowsEx is left to tests/winsim and
// tests/e2e: a request that succeeds restarts the machine, and Wine grants it without the privilege.
#include <cstring>

#include "tests/platform/contract_fixture.h"

namespace contract {
namespace {

// This program's path, read as the product reads it: the length returned, a drive letter first.
std::string OwnPath() {
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    EXPECT_TRUE(length == std::strlen(path) && path[1] == ':') << length << ": " << path;
    return path;
}

std::string OwnImageName() {
    const std::string path = OwnPath();
    return path.substr(path.find_last_of("\\/:") + 1);
}

TEST_F(Contract, VersionModuleCommandLineAndSystemDirectory) {
    OSVERSIONINFOA info = {sizeof info};
    ASSERT_TRUE(GetVersionExA(&info)) << "error " << GetLastError();
    EXPECT_EQ(DWORD{VER_PLATFORM_WIN32_NT}, info.dwPlatformId);
    std::string image = OwnImageName(), commandLine = GetCommandLineA();
    EXPECT_NE(std::string::npos, commandLine.find(image.substr(0, image.rfind('.')))) << commandLine;

    char directory[MAX_PATH + 1] = {};
    UINT size = GetSystemDirectoryA(directory, sizeof directory);
    EXPECT_TRUE(size > 3 && size == std::strlen(directory)) << directory;
}

// The player is found by its image name in a snapshot and ended through a handle with the right.
// It is played by a suspended copy of this program on Windows (it never runs a line of its own),
// by a table entry on winsim.
TEST_F(Contract, ToolHelpFindsAProcessThatTerminateEnds) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    for (auto [name, there] : {std::pair{"CreateToolhelp32Snapshot", true}, {"Process32First", true},
                               {"Process32Next", true}, {"Process32Third", false}})
        EXPECT_EQ(there, GetProcAddress(kernel, name) != nullptr) << name << ": error " << GetLastError();
    EXPECT_EQ(nullptr, OpenProcess(PROCESS_TERMINATE, FALSE, 0x7FFFFFFC)) << "a process that has gone";
#ifdef _WIN32
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION child = {};
    ASSERT_TRUE(CreateProcessA(OwnPath().c_str(), nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                               &startup, &child))
        << "error " << GetLastError();
    CloseHandle(child.hThread);
    const DWORD pid = child.dwProcessId;
#else
    const DWORD pid = 4000;
    winsim::AddProcess({pid, OwnImageName(), GetCurrentProcessId()});
#endif
    EXPECT_EQ(OwnImageName(), Processes()[pid]);
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
    EXPECT_NE(nullptr, process) << "error " << GetLastError();
    EXPECT_TRUE(TerminateProcess(process, 0)) << "error " << GetLastError();
    CloseHandle(process);
#ifdef _WIN32
    // Windows ends a process asynchronously.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child.hProcess, 5000));
    TerminateProcess(child.hProcess, 1);
    CloseHandle(child.hProcess);
#endif
    EXPECT_EQ(0u, Processes().count(pid)) << "the process has ended";
}

// The power commands: the token enabling the shutdown privilege, the suspend command started.
TEST_F(Contract, TokenEnablesTheShutdownPrivilegeAndWinExecReportsAMissingProgram) {
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        << "error " << GetLastError();
    TOKEN_PRIVILEGES enable = {1}, previous = {};
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &enable.Privileges[0].Luid))
        << "error " << GetLastError();
    enable.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    DWORD length = 0;
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &enable, sizeof previous, &previous, &length))
        << "error " << GetLastError();
#ifndef _WIN32
    // A user without the privilege: the call succeeds, says so in the last error, enables nothing.
    winsim::SetPrivilegeHeld(SE_SHUTDOWN_NAME, false);
    SetLastError(kSentinel);
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &enable, sizeof previous, &previous, &length));
    EXPECT_EQ(DWORD{ERROR_NOT_ALL_ASSIGNED}, GetLastError());
    EXPECT_FALSE(winsim::PrivilegeEnabled(SE_SHUTDOWN_NAME));
#endif
    EXPECT_TRUE(CloseHandle(token));

    // WinExec answers with its result, below 32 on failure, and leaves the same in the last error.
    SetLastError(kSentinel);
    UINT result = WinExec("mvorbel-no-such-program.exe powrprof.dll,SetSuspendState", SW_HIDE);
    EXPECT_EQ(UINT{ERROR_FILE_NOT_FOUND}, result);
    EXPECT_EQ(DWORD{ERROR_FILE_NOT_FOUND}, GetLastError());
}

// The error box is shown with the quit message held back: a pending one closes a box unseen, and
// is pending again afterwards. The wide-character box behaves as the single-byte one.
TEST_F(Contract, APendingQuitClosesTheBoxAtOnceAndStays) {
    const WideText text = Wide("Отмена"), caption = Wide("mVorbel");
    const std::pair<const char*, std::function<int()>> forms[] = {
        {"MessageBoxA", [] { return MessageBoxA(nullptr, "contract", "mVorbel", MB_TASKMODAL | MB_ICONERROR); }},
        {"MessageBoxW", [&] { return MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK); }},
    };
    for (const auto& [name, show] : forms) {
        LoopBreaker breaker(5000);
        PostQuitMessage(9);
        int answer = show();
        EXPECT_FALSE(breaker.Broke()) << name << ": the box waited for the user";
        EXPECT_EQ(IDOK, answer) << name << ": the dialog's result before anyone answers";
        MSG quit = {};
        EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && quit.wParam == 9)
            << name << ": the same quit message is pending again, got " << quit.wParam;
    }
#ifndef _WIN32
    EXPECT_EQ(2u, winsim::MessageBoxesCutShort()) << "winsim counts the boxes a quit closed unseen";
#endif
}

// Bytes 0x80-0xFF as each code page reads them; the bytes it leaves undefined read as the C1
// control of the same number.
const std::string kUpperHalf1251 =
    "ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏђ‘’“”•–—\u0098™љ›њќћџ\u00A0ЎўЈ¤Ґ¦§Ё©Є«¬\u00AD®Ї°±Ііґµ¶·ё№є»јЅѕї"
    "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя";

const std::string kUpperHalf1252 =
    "€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ\u00A0¡¢£¤¥¦§¨©ª«¬\u00AD®¯°±²³´µ¶·¸¹º»¼½¾¿"
    "ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞßàáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ";

// The code page in which the product reads the texts it shows is the run's: winsim starts at
// 1251, and scripts/wine-run.sh starts Wine in a Russian locale. The Western systems the scenario
// tests play read in 1252, checked here by its number. As the product asks: the size first, then
// the conversion into a buffer of that size.
TEST_F(Contract, EveryUpperByteReadsInTheAnsiCodePage) {
    EXPECT_EQ(1251u, GetACP());
    std::string bytes;
    for (int byte = 0x80; byte < 0x100; ++byte) bytes += static_cast<char>(byte);
    for (const auto& [codePage, utf8] : {std::pair{UINT{CP_ACP}, &kUpperHalf1251}, {1252u, &kUpperHalf1252}}) {
        SetLastError(kSentinel);
        ASSERT_EQ(128, MultiByteToWideChar(codePage, 0, bytes.data(), 128, nullptr, 0)) << "error " << GetLastError();
        WideText wide(128, 0), expected = Wide(*utf8);
        ASSERT_EQ(128, MultiByteToWideChar(codePage, 0, bytes.data(), 128, wide.data(), 128));
        ASSERT_EQ(128u, expected.size());
        for (int i = 0; i < 128; ++i)
            EXPECT_EQ(int(expected[i]), int(wide[i])) << std::hex << codePage << ", byte 0x" << 0x80 + i;
    }
}

}  // namespace
}  // namespace contract
