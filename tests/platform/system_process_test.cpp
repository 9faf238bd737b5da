#include <cctype>

#include "tests/platform/system_contract.h"

namespace contract {
namespace {

class SystemProcessContract : public SystemContract {
 protected:
    using Snapshot = HANDLE(WINAPI*)(DWORD, DWORD);
    using Walk = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);

    void SetUp() override {
        SystemContract::SetUp();
        HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
        ASSERT_NE(kernel, nullptr) << "error " << GetLastError();
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
        EXPECT_NE(snapshot, INVALID_HANDLE_VALUE) << "error " << GetLastError();
        std::string image;
        PROCESSENTRY32 entry = {sizeof entry};
        for (BOOL more = first_(snapshot, &entry); more; more = next_(snapshot, &entry))
            if (entry.th32ProcessID == pid) image = entry.szExeFile;
        EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_MORE_FILES});
        CloseHandle(snapshot);
        return image;
    }

    static std::string Lower(std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    }

    Snapshot snapshot_ = nullptr;
    Walk first_ = nullptr;
    Walk next_ = nullptr;
};

TEST_F(SystemProcessContract, SnapshotListsThisProcessByImageName) {
    EXPECT_EQ(Lower(ImageOf(GetCurrentProcessId())), Lower(OwnImageName()));
}

TEST_F(SystemProcessContract, WalkRefusesShortRecord) {
    HANDLE snapshot = snapshot_(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
    PROCESSENTRY32 entry = {sizeof entry - 4};
    SetLastError(kSentinel);
    EXPECT_FALSE(first_(snapshot, &entry));
    if (UnderWine() && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        NoteWineDeviation("Process32First with a short dwSize fails with ERROR_INSUFFICIENT_BUFFER, "
                          "Windows with ERROR_BAD_LENGTH");
    } else {
        EXPECT_EQ(GetLastError(), DWORD{ERROR_BAD_LENGTH});
    }
    CloseHandle(snapshot);
}

TEST_F(SystemProcessContract, MissingEntryPointAndModule) {
    SetLastError(kSentinel);
    EXPECT_EQ(GetProcAddress(GetModuleHandleA("kernel32.dll"), "Process32Third"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_PROC_NOT_FOUND});
    SetLastError(kSentinel);
    EXPECT_EQ(GetModuleHandleA("nosuchmodule.dll"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_MOD_NOT_FOUND});
}

TEST_F(SystemProcessContract, TerminatesAChild) {
    ChildProcess child;
    ASSERT_TRUE(child.Started()) << "error " << GetLastError();
    EXPECT_FALSE(ImageOf(child.Pid()).empty());

    HANDLE queryOnly = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, child.Pid());
    ASSERT_NE(queryOnly, nullptr) << "error " << GetLastError();
    SetLastError(kSentinel);
    EXPECT_FALSE(TerminateProcess(queryOnly, 3));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_TRUE(CloseHandle(queryOnly));

    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, child.Pid());
    ASSERT_NE(process, nullptr) << "error " << GetLastError();
    EXPECT_TRUE(TerminateProcess(process, 3)) << "error " << GetLastError();
    EXPECT_TRUE(CloseHandle(process));
    DWORD exitCode = 0;
    ASSERT_TRUE(child.Ended(&exitCode));
    EXPECT_EQ(exitCode, 3u);
}

TEST_F(SystemProcessContract, OpenProcessOfNoProcess) {
    SetLastError(kSentinel);
    EXPECT_EQ(OpenProcess(PROCESS_TERMINATE, FALSE, 0), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
    SetLastError(kSentinel);
    EXPECT_EQ(OpenProcess(PROCESS_TERMINATE, FALSE, 0x7FFFFFFC), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
}

}  // namespace
}  // namespace contract
