#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"

namespace {

class SystemProcess : public ::testing::Test {
protected:
    void SetUp() override {
        winsim::Reset();
        winsim::SetProcesses({{100, "explorer.exe"}, {200, "Winamp.exe", 100}, {300, "csrss.exe", 4, true}});
    }

    static std::vector<std::string> Walk(HANDLE snapshot) {
        std::vector<std::string> seen;
        PROCESSENTRY32 entry = {sizeof entry};
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
            seen.push_back(std::to_string(entry.th32ProcessID) + " " + entry.szExeFile);
        return seen;
    }
};

TEST_F(SystemProcess, SnapshotIsACopyTakenAtCreation) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
    winsim::AddProcess({400, "late.exe"});
    winsim::SetProcesses({});
    EXPECT_EQ(Walk(snapshot), (std::vector<std::string>{"100 explorer.exe", "200 Winamp.exe", "300 csrss.exe"}));
    // First starts the walk again.
    EXPECT_EQ(Walk(snapshot).size(), 3u);
    EXPECT_TRUE(CloseHandle(snapshot));
}

TEST_F(SystemProcess, WalkEndsWithNoMoreFilesAndReportsParent) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {sizeof entry};
    ASSERT_TRUE(Process32First(snapshot, &entry));
    ASSERT_TRUE(Process32Next(snapshot, &entry));
    EXPECT_EQ(entry.th32ParentProcessID, 100u);
    ASSERT_TRUE(Process32Next(snapshot, &entry));
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(Process32Next(snapshot, &entry));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_MORE_FILES});
    CloseHandle(snapshot);
}

TEST_F(SystemProcess, WalkRefusesShortRecordAndBadHandle) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {sizeof entry - 1};
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(Process32First(snapshot, &entry));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_BAD_LENGTH});
    entry.dwSize = sizeof entry;
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(Process32First(reinterpret_cast<HANDLE>(0x4444), &entry));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_HANDLE});
    CloseHandle(snapshot);
}

TEST_F(SystemProcess, SnapshotFailureGivesInvalidHandleValue) {
    winsim::FailCall("CreateToolhelp32Snapshot", 1, ERROR_NOT_ENOUGH_MEMORY);
    SetLastError(0xDEADBEEF);
    EXPECT_EQ(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_NOT_ENOUGH_MEMORY});
}

TEST_F(SystemProcess, OpenProcessRefusals) {
    struct Case {
        DWORD pid;
        DWORD error;
    } cases[] = {{0, ERROR_INVALID_PARAMETER}, {999, ERROR_INVALID_PARAMETER}, {300, ERROR_ACCESS_DENIED}};
    for (const auto& c : cases) {
        SetLastError(0xDEADBEEF);
        EXPECT_EQ(OpenProcess(PROCESS_TERMINATE, FALSE, c.pid), nullptr) << "pid " << c.pid;
        EXPECT_EQ(GetLastError(), c.error) << "pid " << c.pid;
    }
}

TEST_F(SystemProcess, TerminateRecordsAndRemovesTheProcess) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, 200);
    ASSERT_NE(process, nullptr);
    EXPECT_TRUE(TerminateProcess(process, 7));
    EXPECT_EQ(winsim::Requests(), (std::vector<winsim::Request>{{"TerminateProcess", {"200", "7"}}}));
    ASSERT_EQ(winsim::Processes().size(), 2u);
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(TerminateProcess(process, 7)) << "an ended process can't end again";
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_TRUE(CloseHandle(process));
    EXPECT_EQ(winsim::OpenHandleCount(), 0u);
}

TEST_F(SystemProcess, TerminateNeedsTheRight) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, 200);
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(TerminateProcess(process, 0));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(winsim::Processes().size(), 3u);
    CloseHandle(process);
}

TEST_F(SystemProcess, ResetRestoresDefaultTableWithCurrentProcess) {
    winsim::Reset();
    bool found = false;
    for (const auto& p : winsim::Processes()) found |= p.pid == GetCurrentProcessId();
    EXPECT_TRUE(found);
    EXPECT_TRUE(winsim::Requests().empty());
}

}  // namespace
