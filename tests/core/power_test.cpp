#include "core/power.h"

#include "platform/winsim/system/system_control.h"
#include "tests/core/drive_c_fixture.h"

namespace mvorbel {
namespace {

using Requests = std::vector<winsim::Request>;
using Power = testing::DriveC;

void Win9x() { winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10); }
// On 9x the token can't even be opened, so a privilege call there would stop the requests. A
// refused version call leaves the platform id 0 (Win32s), which is not NT. On NT nothing is
// asked without the privilege.
TEST_F(Power, RestartAndPowerOffAskWithTheFamilysFlags) {
    const struct {
        const char* name;
        bool win9x;
        const char* refused;  // fails for the restart and for the power-off
        bool force;
        Requests requests;
    } cases[] = {
        {"9x", true, nullptr, false, {{"ExitWindowsEx", {"2", "1"}}, {"ExitWindowsEx", {"1", "1"}}}},
        {"version refused", false, "GetVersionExA", true,
         {{"ExitWindowsEx", {"2", "1"}}, {"ExitWindowsEx", {"1", "1"}}}},
        {"NT", false, nullptr, false, {{"ExitWindowsEx", {"2", "1"}}, {"ExitWindowsEx", {"8", "1"}}}},
        {"NT forced", false, nullptr, true, {{"ExitWindowsEx", {"6", "1"}}, {"ExitWindowsEx", {"12", "1"}}}},
        {"token refused", false, "OpenProcessToken", false, {}},
        {"privilege unknown", false, "LookupPrivilegeValueA", false, {}},
        {"privilege not adjusted", false, "AdjustTokenPrivileges", false, {}},
    };
    for (const auto& c : cases) {
        Fresh();
        if (c.win9x) Win9x();
        for (int nth : {1, 2}) {
            if (c.refused != nullptr) winsim::FailCall(c.refused, nth, ERROR_ACCESS_DENIED);
        }
        chooserState.force = c.force;
        RestartSystem();
        PowerOffSystem();
        EXPECT_EQ(winsim::Requests(), c.requests) << c.name;
        EXPECT_EQ(winsim::OpenHandleCount(), 0u) << c.name << ": token left open";
    }
}

// Tool-help gives the image's full path on the 9x family and its file name on NT; only the file
// name after the last '\' counts, and only A-Z fold. Without tool-help nothing is terminated.
TEST_F(Power, TerminatesTheFirstMatchInSnapshotOrderOnly) {
    const std::vector<winsim::Process> kPlayers = {{12, "Winamp.exe"}, {16, "winamp.exe"}};
    const struct {
        const char* name;
        std::vector<winsim::Process> processes;
        const char* imageName;
        const char* terminatedPid;  // nullptr: none
        void (*arrange)() = [] {};
    } cases[] = {
        {"two players", {{8, "explorer.exe"}, {20, "winamp.exe"}, {12, "Winamp.exe"}}, "WINAMP.EXE", "20"},
        {"full path on 9x",
         {{8, "EXPLORER.EXE"}, {12, "WINAMP.EXE", 0, false, "C:\\PROGRAM FILES\\WINAMP\\WINAMP.EXE"}},
         "Winamp.exe", "12", Win9x},
        {"a name that only ends like it", {{12, "NOTWINAMP.EXE", 0, false, "C:\\X\\NOTWINAMP.EXE"}}, "Winamp.exe",
         nullptr, Win9x},
        {"more after the name", {{12, "dir\\Winamp.exe.bak"}}, "Winamp.exe", nullptr},
        // Windows-1251: small and capital A with grave differ.
        {"cyrillic case", {{12, "PL\xC0YER.EXE"}}, "pl\xE0yer.exe", nullptr},
        {"no kernel32", kPlayers, "Winamp.exe", nullptr, [] { winsim::SetModuleMissing("kernel32.dll"); }},
        {"no next", kPlayers, "Winamp.exe", nullptr, [] { winsim::SetProcMissing("kernel32.dll", "Process32Next"); }},
        {"snapshot fails", kPlayers, "Winamp.exe", nullptr,
         [] { winsim::FailCall("CreateToolhelp32Snapshot", 1, ERROR_NOT_ENOUGH_MEMORY); }},
        {"open fails", kPlayers, "Winamp.exe", nullptr,
         [] { winsim::FailCall("OpenProcess", 1, ERROR_ACCESS_DENIED); }},
    };
    for (const auto& c : cases) {
        Fresh();
        c.arrange();
        winsim::SetProcesses(c.processes);
        TerminateProcessByName(c.imageName);
        Requests expected;
        if (c.terminatedPid) expected.push_back({"TerminateProcess", {c.terminatedPid, "0"}});
        EXPECT_EQ(winsim::Requests(), expected) << c.name;
        EXPECT_EQ(winsim::OpenHandleCount(), 0u) << c.name;
    }
}

}  // namespace
}  // namespace mvorbel
