// The system calls: version, module and paths, tool help, processes, the token.
#include <cctype>
#include <cstring>

#include "tests/platform/contract_fixture.h"

namespace contract {
namespace {

using SystemContract = Contract;

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string OwnImageName() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text = path;
    return text.substr(text.find_last_of("\\/:") + 1);
}

TEST_F(SystemContract, VersionAcceptsItsRecordSizeOnly) {
    OSVERSIONINFOA info = {sizeof info};
    ASSERT_TRUE(GetVersionExA(&info)) << "error " << GetLastError();
    EXPECT_EQ(DWORD{VER_PLATFORM_WIN32_NT}, info.dwPlatformId);
    auto get = [](OSVERSIONINFOEXA& record) {
        return GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&record));
    };
    for (DWORD size : {DWORD{sizeof(OSVERSIONINFOA) - 1}, DWORD{sizeof(OSVERSIONINFOA) + 1}}) {
        OSVERSIONINFOEXA bad = {size};
        bad.dwPlatformId = 77;
        ExpectRefusals({{"size " + std::to_string(size), [&] { return get(bad); },
                         ERROR_INSUFFICIENT_BUFFER}});
        EXPECT_EQ(77u, bad.dwPlatformId) << "size " << size;
    }
}

TEST_F(SystemContract, ModuleFileNameCommandLineAndSystemDirectory) {
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text = path;
    EXPECT_EQ(length, text.size());
    ASSERT_GT(text.size(), 7u);
    EXPECT_EQ(':', text[1]) << text;
    EXPECT_EQ(".exe", Lower(text.substr(text.size() - 4))) << text;
    char small[6];
    std::memset(small, 'x', sizeof small);
    SetLastError(kSentinel);
    EXPECT_EQ(DWORD{sizeof small}, GetModuleFileNameA(nullptr, small, sizeof small));
    EXPECT_EQ(DWORD{ERROR_INSUFFICIENT_BUFFER}, GetLastError());
    EXPECT_EQ(text.substr(0, sizeof small), std::string(small, sizeof small))
        << "truncated, not terminated";

    std::string image = OwnImageName();
    std::string commandLine = GetCommandLineA(), stem = image.substr(0, image.rfind('.'));
    EXPECT_NE(std::string::npos, commandLine.find(stem)) << commandLine;

    char directory[MAX_PATH + 1] = {}, exact[MAX_PATH + 1];
    UINT size = GetSystemDirectoryA(directory, sizeof directory);
    ASSERT_GT(size, 3u);
    EXPECT_EQ(size, std::strlen(directory));
    EXPECT_NE('\\', directory[size - 1]) << directory;
    EXPECT_EQ(size + 1, GetSystemDirectoryA(exact, size)) << "no room for the terminator";
    EXPECT_EQ(size, GetSystemDirectoryA(exact, size + 1));
    EXPECT_STREQ(directory, exact);
}

// A process that does nothing until it is terminated: a suspended copy of this program on
// Windows (it never runs a line of its own), a table entry on winsim.
class ChildProcess {
 public:
    ChildProcess() {
#ifdef _WIN32
        char path[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, path, sizeof path);
        std::string commandLine = std::string("\"") + path + "\"";
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION info = {};
        if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                           nullptr, nullptr, &startup, &info)) {
            CloseHandle(info.hThread);
            process_ = info.hProcess;
            pid_ = info.dwProcessId;
        }
#else
        winsim::AddProcess({pid_, "child.exe", GetCurrentProcessId()});
#endif
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() {
#ifdef _WIN32
        if (process_) {
            TerminateProcess(process_, 1);
            CloseHandle(process_);
        }
#endif
    }

    DWORD Pid() const { return pid_; }

    // Whether it has ended, and with which exit code; Windows ends a process asynchronously.
    bool Ended(DWORD* exitCode) const {
#ifdef _WIN32
        return WaitForSingleObject(process_, 5000) == WAIT_OBJECT_0 &&
               GetExitCodeProcess(process_, exitCode);
#else
        for (const auto& process : winsim::Processes())
            if (process.pid == pid_) return false;
        for (const auto& request : winsim::Requests())
            if (request.call == "TerminateProcess" && request.args[0] == std::to_string(pid_))
                *exitCode = static_cast<DWORD>(std::stoul(request.args[1]));
        return true;
#endif
    }

 private:
#ifdef _WIN32
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
#else
    DWORD pid_ = 4000;
#endif
};

using ProcessContract = Contract;

// The image name of `pid` in a fresh snapshot, empty when it isn't listed.
std::string ImageOf(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    EXPECT_NE(INVALID_HANDLE_VALUE, snapshot) << "error " << GetLastError();
    std::string image;
    PROCESSENTRY32 entry = {sizeof entry};
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ProcessID == pid) image = entry.szExeFile;
    EXPECT_EQ(DWORD{ERROR_NO_MORE_FILES}, GetLastError());
    CloseHandle(snapshot);
    return image;
}

TEST_F(ProcessContract, RefusalsOfToolHelpModulesAndProcesses) {
    EXPECT_EQ(Lower(OwnImageName()), Lower(ImageOf(GetCurrentProcessId())));
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 shortEntry = {sizeof shortEntry - 4};
    ExpectRefusals({
        {"walk with a short record", [&] { return Process32First(snapshot, &shortEntry); },
         ERROR_BAD_LENGTH,
         "Process32First with a short dwSize fails with ERROR_INSUFFICIENT_BUFFER, Windows with "
         "ERROR_BAD_LENGTH",
         ERROR_INSUFFICIENT_BUFFER},
        {"missing entry point", [] { return GetProcAddress(GetModuleHandleA("kernel32.dll"), "Process32Third"); },
         ERROR_PROC_NOT_FOUND},
        {"missing module", [] { return GetModuleHandleA("nosuchmodule.dll"); }, ERROR_MOD_NOT_FOUND},
        {"open process 0", [] { return OpenProcess(PROCESS_TERMINATE, FALSE, 0); }, ERROR_INVALID_PARAMETER},
        {"open no process", [] { return OpenProcess(PROCESS_TERMINATE, FALSE, 0x7FFFFFFC); }, ERROR_INVALID_PARAMETER},
    });
    CloseHandle(snapshot);
}

TEST_F(ProcessContract, TerminatesAChildThroughAHandleWithTheRight) {
    ChildProcess child;
    ASSERT_NE(0u, child.Pid()) << "error " << GetLastError();
    EXPECT_FALSE(ImageOf(child.Pid()).empty());
    HANDLE queryOnly = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, child.Pid());
    ASSERT_NE(nullptr, queryOnly) << "error " << GetLastError();
    ExpectRefusals({{"terminate without the right", [&] { return TerminateProcess(queryOnly, 3); },
                     ERROR_ACCESS_DENIED}});
    EXPECT_TRUE(CloseHandle(queryOnly));
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, child.Pid());
    ASSERT_NE(nullptr, process) << "error " << GetLastError();
    EXPECT_TRUE(TerminateProcess(process, 3)) << "error " << GetLastError();
    EXPECT_TRUE(CloseHandle(process));
    DWORD exitCode = 0;
    ASSERT_TRUE(child.Ended(&exitCode));
    EXPECT_EQ(3u, exitCode);
}

TEST_F(SystemContract, TokenEnablesShutdownPrivilegeOnlyWithTheAdjustRight) {
    TOKEN_PRIVILEGES enable = {1}, previous = {};
    LUID& luid = enable.Privileges[0].Luid;
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, "SESHUTDOWNPRIVILEGE", &luid))
        << "names ignore case: error " << GetLastError();
    enable.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    LUID unknown = {};
    HANDLE queryOnly = nullptr, token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &queryOnly));
    ExpectRefusals({
        {"unknown privilege", [&] { return LookupPrivilegeValueA(nullptr, "SeNoSuchPrivilege", &unknown); },
         ERROR_NO_SUCH_PRIVILEGE},
        {"adjust without the right",
         [&] { return AdjustTokenPrivileges(queryOnly, FALSE, &enable, 0, nullptr, nullptr); },
         ERROR_ACCESS_DENIED},
    });
    EXPECT_TRUE(CloseHandle(queryOnly));

    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    DWORD length = 0;
    SetLastError(kSentinel);
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &enable, sizeof previous, &previous, &length))
        << "error " << GetLastError();
    DWORD error = GetLastError();
    EXPECT_TRUE(error == ERROR_SUCCESS || error == ERROR_NOT_ALL_ASSIGNED) << "got " << error;
    EXPECT_LE(length, DWORD{sizeof previous});
    EXPECT_LE(previous.PrivilegeCount, 1u);
    if (previous.PrivilegeCount == 1) {
        EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &previous, 0, nullptr, nullptr));
    }
    EXPECT_TRUE(CloseHandle(token));
}

using MessageBoxContract = UiContract;

// The error box is shown with the quit message held back: a pending one closes a box unseen.
// The wide-character box behaves as the single-byte one.
TEST_F(MessageBoxContract, APendingQuitClosesTheBoxAtOnceAndStays) {
    const WideText text = Wide("Отмена"), caption = Wide("mVorbel");
    const std::pair<const char*, std::function<int(HWND, UINT)>> forms[] = {
        {"MessageBoxA", [](HWND owner, UINT type) { return MessageBoxA(owner, "contract", "mVorbel", type); }},
        {"MessageBoxW",
         [&](HWND owner, UINT type) { return MessageBoxW(owner, text.c_str(), caption.c_str(), type); }},
    };
    for (const auto& [name, show] : forms) {
        HWND gone = Create();
        DestroyWindow(gone);
        LoopBreaker breaker(nullptr, 5000);
        SetLastError(kSentinel);
        int refused = show(gone, MB_OK);
        EXPECT_EQ(DWORD{ERROR_INVALID_WINDOW_HANDLE}, GetLastError()) << name;
        EXPECT_FALSE(breaker.Broke()) << name << ": the refused box was shown";
        if (UnderWine() && refused == -1)
            NoteWineDeviation(std::string(name) + " owned by no window answers -1, not 0");
        else
            EXPECT_EQ(0, refused) << name << ": a box owned by no window";
        Drain();

        LoopBreaker again(nullptr, 5000);
        PostQuitMessage(9);
        SetLastError(kSentinel);
        int answer = show(nullptr, MB_YESNO);
        EXPECT_FALSE(again.Broke()) << name << ": the box waited for the user";
        EXPECT_EQ(IDOK, answer) << name << ": the dialog's result before anyone answers";
        MSG quit = {};
        EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << name;
        EXPECT_EQ(9u, quit.wParam) << name << ": the same quit message is pending again";
    }
}

// Only the refusals can run here: a request that succeeds restarts or powers off the machine.
TEST_F(SystemContract, ExitWindowsNeedsTheShutdownPrivilegeOnNt) {
    if (UnderWine()) {
        // Wine checks no privilege: the call succeeds and has wineboot end the prefix's session,
        // which can end this test program too.
        NoteWineDeviation("ExitWindowsEx succeeds without the shutdown privilege: not called");
        return;
    }
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token));
    TOKEN_PRIVILEGES disable = {1};
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &disable.Privileges[0].Luid));
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &disable, 0, nullptr, nullptr));
    CloseHandle(token);
    for (UINT flags : {UINT{EWX_REBOOT}, UINT{EWX_POWEROFF}, UINT{EWX_SHUTDOWN | EWX_FORCE}})
        ExpectRefusals({{"flags " + std::to_string(flags), [=] { return ExitWindowsEx(flags, 1); },
                         ERROR_PRIVILEGE_NOT_HELD}});
}

using ProgramContract = FileContract;

// WinExec answers with its result, below 32 on failure, and leaves the same in the last error.
TEST_F(ProgramContract, WinExecAnswersAMissingProgramWithTheError) {
    struct Row {
        std::string commandLine;
        UINT result;
        const char* wineDeviation = nullptr;
    };
    const Row rows[] = {
        {"\"" + Path("missing.exe") + "\"", ERROR_FILE_NOT_FOUND},
        {"\"" + Path("no folder\\missing.exe") + "\" /x", ERROR_PATH_NOT_FOUND,
         "WinExec of a program in a missing folder answers ERROR_FILE_NOT_FOUND"},
        {"mvorbel-no-such-program.exe powrprof.dll,SetSuspendState", ERROR_FILE_NOT_FOUND},
    };
    for (const auto& row : rows) {
        SetLastError(kSentinel);
        UINT result = WinExec(row.commandLine.c_str(), SW_HIDE);
        DWORD error = GetLastError();
        if (row.wineDeviation && UnderWine() && result == ERROR_FILE_NOT_FOUND) {
            NoteWineDeviation(row.wineDeviation);
            EXPECT_EQ(DWORD{ERROR_FILE_NOT_FOUND}, error);
            continue;
        }
        EXPECT_EQ(row.result, result) << row.commandLine;
        EXPECT_EQ(row.result, error) << row.commandLine;
    }
}

}  // namespace
}  // namespace contract
