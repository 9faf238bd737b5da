#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/chooser_state.h"
#include "core/power.h"
#include "core/tool_help.h"
#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"

namespace {

using winsim::Request;
using Requests = std::vector<Request>;

class Power : public ::testing::Test {
protected:
    void SetUp() override {
        winsim::Reset();
        mvorbel::ForgetToolHelpTable();
        mvorbel::chooserState.SetStartFlags();
    }
};

// --- Family -----------------------------------------------------------------------------------

struct FamilyCase {
    DWORD platformId;
    DWORD major;
    DWORD minor;
    bool win9x;
};

class PowerFamily : public Power, public ::testing::WithParamInterface<FamilyCase> {};

TEST_P(PowerFamily, FollowsThePlatformId) {
    const auto& c = GetParam();
    winsim::SetVersion(c.platformId, c.major, c.minor);
    EXPECT_EQ(mvorbel::IsWin9xFamily(), c.win9x) << "platform " << c.platformId << " " << c.major << "." << c.minor;
}

INSTANTIATE_TEST_SUITE_P(Versions, PowerFamily,
                         ::testing::Values(FamilyCase{VER_PLATFORM_WIN32_WINDOWS, 4, 0, true},
                                           FamilyCase{VER_PLATFORM_WIN32_WINDOWS, 4, 90, true},
                                           FamilyCase{VER_PLATFORM_WIN32s, 3, 10, true},
                                           FamilyCase{VER_PLATFORM_WIN32_NT, 4, 0, false},
                                           FamilyCase{VER_PLATFORM_WIN32_NT, 5, 1, false}));

TEST_F(Power, RefusedVersionCallCountsAsNineX) {
    winsim::FailCall("GetVersionExA", 1, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(mvorbel::IsWin9xFamily());
}

// --- Restart and power-off ----------------------------------------------------------------------

struct ExitCase {
    bool win9x;
    bool force;
    const char* restartFlags;
    const char* powerOffFlags;
};

class PowerExit : public Power, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(PowerExit, AsksWithTheFamilysFlags) {
    const auto& c = GetParam();
    if (c.win9x) winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    mvorbel::chooserState.force = c.force;
    mvorbel::RestartSystem();
    mvorbel::PowerOffSystem();
    EXPECT_EQ(winsim::Requests(), (Requests{{"ExitWindowsEx", {c.restartFlags, "1"}},
                                            {"ExitWindowsEx", {c.powerOffFlags, "1"}}}))
        << (c.win9x ? "9x" : "NT") << " force " << c.force;
    // On 9x the token can't even be opened, so a privilege call there would have stopped the
    // requests above.
    EXPECT_EQ(winsim::PrivilegeEnabled(SE_SHUTDOWN_NAME), !c.win9x);
    EXPECT_EQ(winsim::OpenHandleCount(), 0u) << "token left open";
}

INSTANTIATE_TEST_SUITE_P(Flags, PowerExit,
                         ::testing::Values(ExitCase{true, false, "2", "1"}, ExitCase{true, true, "2", "1"},
                                           ExitCase{false, false, "2", "8"}, ExitCase{false, true, "6", "12"}));

TEST_F(Power, NoRequestWhenPrivilegeCantBeEnabled) {
    for (const char* step : {"OpenProcessToken", "LookupPrivilegeValueA", "AdjustTokenPrivileges"}) {
        winsim::FailCall(step, 1, ERROR_ACCESS_DENIED);
        winsim::FailCall(step, 2, ERROR_ACCESS_DENIED);
        mvorbel::RestartSystem();
        mvorbel::PowerOffSystem();
        EXPECT_TRUE(winsim::Requests().empty()) << step << " failing still asked " << winsim::Requests()[0];
        EXPECT_EQ(winsim::OpenHandleCount(), 0u) << step;
    }
}

TEST_F(Power, PrivilegeNotHeldStillCountsAsEnabled) {
    winsim::SetPrivilegeHeld(SE_SHUTDOWN_NAME, false);
    EXPECT_TRUE(mvorbel::EnableShutdownPrivilege());
    mvorbel::RestartSystem();
    EXPECT_EQ(winsim::Requests().size(), 1u) << "the platform refuses, the program still asks";
}

// --- Terminating a process by name ---------------------------------------------------------------

struct TerminateCase {
    const char* what;
    std::vector<winsim::Process> processes;
    const char* name;
    const char* terminatedPid;  // nullptr: none
};

class PowerTerminate : public Power, public ::testing::WithParamInterface<TerminateCase> {};

TEST_P(PowerTerminate, FirstMatchInSnapshotOrderOnly) {
    const auto& c = GetParam();
    winsim::SetProcesses(c.processes);
    mvorbel::TerminateProcessByName(c.name);
    Requests expected;
    if (c.terminatedPid) expected.push_back({"TerminateProcess", {c.terminatedPid, "0"}});
    EXPECT_EQ(winsim::Requests(), expected) << c.what;
    EXPECT_EQ(winsim::OpenHandleCount(), 0u) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Names, PowerTerminate,
    ::testing::Values(
        TerminateCase{"exact", {{8, "explorer.exe"}, {12, "Winamp.exe"}}, "Winamp.exe", "12"},
        TerminateCase{"capitals", {{12, "WINAMP.EXE"}}, "Winamp.exe", "12"},
        TerminateCase{"small letters", {{12, "winamp.exe"}}, "Winamp.exe", "12"},
        TerminateCase{"two players", {{20, "winamp.exe"}, {12, "Winamp.exe"}}, "Winamp.exe", "20"},
        TerminateCase{"path in front", {{12, "C:\\Program Files\\Winamp\\winamp.exe"}}, "Winamp.exe", nullptr},
        TerminateCase{"prefix only", {{12, "Winamp.exe2"}}, "Winamp.exe", nullptr},
        // Windows-1251: small and capital A with grave differ; only A-Z fold.
        TerminateCase{"cyrillic case", {{12, "PL\xC0YER.EXE"}}, "pl\xE0yer.exe", nullptr},
        TerminateCase{"cyrillic same", {{12, "PL\xE0YER.EXE"}}, "pl\xE0yer.exe", "12"},
        TerminateCase{"not running", {{8, "explorer.exe"}}, "Winamp.exe", nullptr}));

TEST_F(Power, TerminatePlayerEndsWinamp) {
    winsim::SetProcesses({{8, "explorer.exe"}, {40, "winamp.EXE"}});
    mvorbel::TerminatePlayer();
    EXPECT_EQ(winsim::Requests(), (Requests{{"TerminateProcess", {"40", "0"}}}));
}

TEST_F(Power, NothingTerminatedWithoutToolHelp) {
    struct Case {
        const char* what;
        void (*arrange)();
    } cases[] = {
        {"no kernel32", [] { winsim::SetModuleMissing("kernel32.dll"); }},
        {"no snapshot function", [] { winsim::SetProcMissing("kernel32.dll", "CreateToolhelp32Snapshot"); }},
        {"no first", [] { winsim::SetProcMissing("kernel32.dll", "Process32First"); }},
        {"no next", [] { winsim::SetProcMissing("kernel32.dll", "Process32Next"); }},
        {"snapshot fails", [] { winsim::FailCall("CreateToolhelp32Snapshot", 1, ERROR_NOT_ENOUGH_MEMORY); }},
        {"walk fails", [] { winsim::FailCall("Process32First", 1, ERROR_BAD_LENGTH); }},
        {"open fails", [] { winsim::FailCall("OpenProcess", 1, ERROR_ACCESS_DENIED); }},
    };
    for (const auto& c : cases) {
        winsim::Reset();
        mvorbel::ForgetToolHelpTable();
        winsim::SetProcesses({{12, "Winamp.exe"}, {16, "winamp.exe"}});
        c.arrange();
        mvorbel::TerminatePlayer();
        EXPECT_TRUE(winsim::Requests().empty()) << c.what;
        EXPECT_EQ(winsim::OpenHandleCount(), 0u) << c.what;
    }
}

TEST_F(Power, ToolHelpLookedUpOncePerRun) {
    winsim::SetProcesses({{12, "Winamp.exe"}});
    mvorbel::TerminatePlayer();
    winsim::SetProcMissing("kernel32.dll", "Process32First");
    winsim::AddProcess({16, "Winamp.exe"});
    mvorbel::TerminatePlayer();
    EXPECT_EQ(winsim::Requests().size(), 2u) << "the table found first is kept";
}

TEST_F(Power, LookupRetriedWhileKernel32Missing) {
    winsim::SetModuleMissing("kernel32.dll");
    mvorbel::TerminatePlayer();
    winsim::Reset();
    winsim::SetProcesses({{12, "Winamp.exe"}});
    mvorbel::TerminatePlayer();
    EXPECT_EQ(winsim::Requests(), (Requests{{"TerminateProcess", {"12", "0"}}}));
}

}  // namespace
