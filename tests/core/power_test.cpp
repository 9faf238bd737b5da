#include "core/power.h"

#include "platform/winsim/system/system_control.h"
#include "tests/core/drive_c_fixture.h"

namespace mvorbel {
namespace {

using Requests = std::vector<winsim::Request>;
using Power = testing::DriveC;

// A refused version call leaves the platform id 0 (Win32s), which is not NT.
TEST_F(Power, RefusedVersionCallCountsAs9x) {
    winsim::FailCall("GetVersionExA", 1, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(IsWin9xFamily());
}

TEST_F(Power, RestartAndPowerOffAskWithTheFamilysFlags) {
    const struct {
        bool win9x, force;
        const char *restartFlags, *powerOffFlags;
    } cases[] = {{true, false, "2", "1"}, {true, true, "2", "1"},
                 {false, false, "2", "8"}, {false, true, "6", "12"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.win9x ? "9x" : "NT") + (c.force ? " forced" : ""));
        Fresh();
        if (c.win9x) winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
        chooserState.force = c.force;
        RestartSystem();
        PowerOffSystem();
        EXPECT_EQ(winsim::Requests(), (Requests{{"ExitWindowsEx", {c.restartFlags, "1"}},
                                                {"ExitWindowsEx", {c.powerOffFlags, "1"}}}));
        // On 9x the token can't even be opened, so a privilege call there would have stopped the
        // requests above.
        EXPECT_EQ(winsim::PrivilegeEnabled(SE_SHUTDOWN_NAME), !c.win9x);
        EXPECT_EQ(winsim::OpenHandleCount(), 0u) << "token left open";
    }
}

TEST_F(Power, NoRequestWhenPrivilegeCantBeEnabled) {
    for (const char* step :
         {"OpenProcessToken", "LookupPrivilegeValueA", "AdjustTokenPrivileges"}) {
        Fresh();
        winsim::FailCall(step, 1, ERROR_ACCESS_DENIED);
        winsim::FailCall(step, 2, ERROR_ACCESS_DENIED);
        RestartSystem();
        PowerOffSystem();
        EXPECT_EQ(winsim::Requests().size(), 0u) << step << " failing";
        EXPECT_EQ(winsim::OpenHandleCount(), 0u) << step;
    }
    // A privilege the account doesn't hold is "adjusted" all the same; the platform refuses later.
    Fresh();
    winsim::SetPrivilegeHeld(SE_SHUTDOWN_NAME, false);
    RestartSystem();
    EXPECT_EQ(winsim::Requests().size(), 1u);
}

// Tool-help gives the image's full path on the 9x family and its file name on NT; only the
// file name after the last '\' counts.
TEST_F(Power, TerminatesTheFirstMatchInSnapshotOrderOnly) {
    const struct {
        const char* what;
        bool win9x;
        std::vector<winsim::Process> processes;
        const char* name;
        const char* terminatedPid;  // nullptr: none
    } cases[] = {
        {"two players", false, {{8, "explorer.exe"}, {20, "winamp.exe"}, {12, "Winamp.exe"}},
         "WINAMP.EXE", "20"},
        {"full path on 9x", true,
         {{8, "EXPLORER.EXE"}, {12, "WINAMP.EXE", 0, false, "C:\\PROGRAM FILES\\WINAMP\\WINAMP.EXE"}},
         "Winamp.exe", "12"},
        {"a name that only ends like it", true,
         {{12, "NOTWINAMP.EXE", 0, false, "C:\\X\\NOTWINAMP.EXE"}}, "Winamp.exe", nullptr},
        {"more after the name", false, {{12, "dir\\Winamp.exe.bak"}}, "Winamp.exe", nullptr},
        // Windows-1251: small and capital A with grave differ; only A-Z fold.
        {"cyrillic case", false, {{12, "PL\xC0YER.EXE"}}, "pl\xE0yer.exe", nullptr},
    };
    for (const auto& c : cases) {
        Fresh();
        if (c.win9x) winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
        winsim::SetProcesses(c.processes);
        TerminateProcessByName(c.name);
        Requests expected;
        if (c.terminatedPid) expected.push_back({"TerminateProcess", {c.terminatedPid, "0"}});
        EXPECT_EQ(winsim::Requests(), expected) << c.what;
        EXPECT_EQ(winsim::OpenHandleCount(), 0u) << c.what;
    }
}

TEST_F(Power, NothingTerminatedWithoutToolHelp) {
    const struct {
        const char* what;
        void (*arrange)();
    } cases[] = {
        {"no kernel32", [] { winsim::SetModuleMissing("kernel32.dll"); }},
        {"no snapshot", [] { winsim::SetProcMissing("kernel32.dll", "CreateToolhelp32Snapshot"); }},
        {"no next", [] { winsim::SetProcMissing("kernel32.dll", "Process32Next"); }},
        {"snapshot fails",
         [] { winsim::FailCall("CreateToolhelp32Snapshot", 1, ERROR_NOT_ENOUGH_MEMORY); }},
        {"open fails", [] { winsim::FailCall("OpenProcess", 1, ERROR_ACCESS_DENIED); }},
    };
    for (const auto& c : cases) {
        Fresh();
        winsim::SetProcesses({{12, "Winamp.exe"}, {16, "winamp.exe"}});
        c.arrange();
        TerminatePlayer();
        EXPECT_EQ(winsim::Requests().size(), 0u) << c.what;
        EXPECT_EQ(winsim::OpenHandleCount(), 0u) << c.what;
    }
}

// The functions are looked up once per run: one going missing later changes nothing.
TEST_F(Power, ToolHelpTableIsLookedUpOncePerRun) {
    winsim::SetProcesses({{12, "Winamp.exe"}, {16, "winamp.EXE"}});
    TerminatePlayer();
    winsim::SetProcMissing("kernel32.dll", "Process32First");
    TerminatePlayer();
    EXPECT_EQ(winsim::Requests(),
              (Requests{{"TerminateProcess", {"12", "0"}}, {"TerminateProcess", {"16", "0"}}}));
}

}  // namespace
}  // namespace mvorbel
