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

TEST_F(SystemContract, VersionAcceptsBothRecordSizesOnly) {
    OSVERSIONINFOA info = {sizeof info};
    ASSERT_TRUE(GetVersionExA(&info)) << "error " << GetLastError();
    EXPECT_EQ(DWORD{VER_PLATFORM_WIN32_NT}, info.dwPlatformId);
    EXPECT_GE(info.dwMajorVersion, 4u);
    OSVERSIONINFOEXA extended = {sizeof extended};
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended))) << "error " << GetLastError();
    EXPECT_EQ(info.dwMajorVersion, extended.dwMajorVersion);
    for (DWORD size : {DWORD{0}, DWORD{sizeof(OSVERSIONINFOA) - 1}, DWORD{sizeof(OSVERSIONINFOA) + 1}}) {
        OSVERSIONINFOEXA bad = {size};
        bad.dwPlatformId = 77;
        ExpectRefusals({{"size " + std::to_string(size),
                         [&] { return GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&bad)); },
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
    EXPECT_EQ(GetModuleHandleA(nullptr), GetModuleHandleA(OwnImageName().c_str()));
    char small[6];
    std::memset(small, 'x', sizeof small);
    SetLastError(kSentinel);
    EXPECT_EQ(DWORD{sizeof small}, GetModuleFileNameA(nullptr, small, sizeof small));
    EXPECT_EQ(DWORD{ERROR_INSUFFICIENT_BUFFER}, GetLastError());
    EXPECT_EQ(text.substr(0, sizeof small), std::string(small, sizeof small)) << "truncated, not terminated";

    std::string image = OwnImageName();
    EXPECT_NE(std::string::npos, std::string(GetCommandLineA()).find(image.substr(0, image.rfind('.'))))
        << GetCommandLineA();

    char directory[MAX_PATH + 1] = {};
    UINT size = GetSystemDirectoryA(directory, sizeof directory);
    ASSERT_GT(size, 3u);
    EXPECT_EQ(size, std::strlen(directory));
    EXPECT_NE('\\', directory[size - 1]) << directory;
    char exact[MAX_PATH + 1];
    std::memset(exact, 'x', sizeof exact);
    EXPECT_EQ(size + 1, GetSystemDirectoryA(exact, size)) << "no room for the terminator";
    EXPECT_EQ(size, GetSystemDirectoryA(exact, size + 1));
    EXPECT_STREQ(directory, exact);
}

class ProcessContract : public Contract {
 protected:
    using Snapshot = HANDLE(WINAPI*)(DWORD, DWORD);
    using Walk = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);

    void SetUp() override {
        Contract::SetUp();
        HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
        ASSERT_NE(nullptr, kernel) << "error " << GetLastError();
        snapshot_ = Find<Snapshot>(kernel, "CreateToolhelp32Snapshot");
        first_ = Find<Walk>(kernel, "Process32First");
        next_ = Find<Walk>(kernel, "Process32Next");
        ASSERT_TRUE(snapshot_ && first_ && next_);
    }

    template <class Proc>
    static Proc Find(HMODULE module, const char* name) {
        return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
    }

    // The image name of `pid` in a fresh snapshot, empty when it isn't listed.
    std::string ImageOf(DWORD pid) {
        HANDLE snapshot = snapshot_(TH32CS_SNAPPROCESS, 0);
        EXPECT_NE(INVALID_HANDLE_VALUE, snapshot) << "error " << GetLastError();
        std::string image;
        PROCESSENTRY32 entry = {sizeof entry};
        for (BOOL more = first_(snapshot, &entry); more; more = next_(snapshot, &entry))
            if (entry.th32ProcessID == pid) image = entry.szExeFile;
        EXPECT_EQ(DWORD{ERROR_NO_MORE_FILES}, GetLastError());
        CloseHandle(snapshot);
        return image;
    }

    Snapshot snapshot_ = nullptr;
    Walk first_ = nullptr;
    Walk next_ = nullptr;
};

TEST_F(ProcessContract, RefusalsOfToolHelpModulesAndProcesses) {
    EXPECT_EQ(Lower(OwnImageName()), Lower(ImageOf(GetCurrentProcessId())));
    HANDLE snapshot = snapshot_(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 shortEntry = {sizeof shortEntry - 4};
    auto fails = [](auto value) { return static_cast<BOOL>(value != nullptr); };
    ExpectRefusals({
        {"walk with a short record", [&] { return first_(snapshot, &shortEntry); }, ERROR_BAD_LENGTH,
         "Process32First with a short dwSize fails with ERROR_INSUFFICIENT_BUFFER, Windows with ERROR_BAD_LENGTH",
         ERROR_INSUFFICIENT_BUFFER},
        {"missing entry point",
         [&] { return fails(GetProcAddress(GetModuleHandleA("kernel32.dll"), "Process32Third")); },
         ERROR_PROC_NOT_FOUND},
        {"missing module", [&] { return fails(GetModuleHandleA("nosuchmodule.dll")); }, ERROR_MOD_NOT_FOUND},
        {"open process 0", [&] { return fails(OpenProcess(PROCESS_TERMINATE, FALSE, 0)); }, ERROR_INVALID_PARAMETER},
        {"open no process", [&] { return fails(OpenProcess(PROCESS_TERMINATE, FALSE, 0x7FFFFFFC)); },
         ERROR_INVALID_PARAMETER},
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
    TOKEN_PRIVILEGES enable = {1};
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, "SESHUTDOWNPRIVILEGE", &enable.Privileges[0].Luid))
        << "names ignore case: error " << GetLastError();
    EXPECT_EQ(19u, enable.Privileges[0].Luid.LowPart);
    EXPECT_EQ(0, enable.Privileges[0].Luid.HighPart);
    enable.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    LUID luid = {};
    HANDLE queryOnly = nullptr, token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &queryOnly)) << "error " << GetLastError();
    ExpectRefusals({
        {"unknown privilege", [&] { return LookupPrivilegeValueA(nullptr, "SeNoSuchPrivilege", &luid); },
         ERROR_NO_SUCH_PRIVILEGE},
        {"adjust without the right", [&] { return AdjustTokenPrivileges(queryOnly, FALSE, &enable, 0, nullptr, nullptr); },
         ERROR_ACCESS_DENIED},
    });
    EXPECT_TRUE(CloseHandle(queryOnly));

    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    TOKEN_PRIVILEGES previous = {};
    DWORD length = 0;
    SetLastError(kSentinel);
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &enable, sizeof previous, &previous, &length))
        << "error " << GetLastError();
    DWORD error = GetLastError();
    EXPECT_TRUE(error == ERROR_SUCCESS || error == ERROR_NOT_ALL_ASSIGNED) << "last error " << error;
    EXPECT_LE(length, DWORD{sizeof previous});
    EXPECT_LE(previous.PrivilegeCount, 1u);
    if (previous.PrivilegeCount == 1) {
        EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &previous, 0, nullptr, nullptr));
    }
    EXPECT_TRUE(CloseHandle(token));
}

}  // namespace
}  // namespace contract
