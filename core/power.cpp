#include "core/power.h"

#include "core/chooser_state.h"
#include "core/kernel_handle.h"
#include "core/key_value.h"
#include "core/tool_help.h"
#include "platform/win32.h"

namespace mvorbel {
namespace {

// The second argument of ExitWindowsEx: reserved on the 9x family, the reason code on NT.
constexpr DWORD kExitReason = 1;
// Given to the player; nobody waits for it or reads it.
constexpr UINT kPlayerExitCode = 0;

void RequestExit(UINT win9xFlags, UINT ntFlags) {
    if (IsWin9xFamily()) {
        ExitWindowsEx(win9xFlags, kExitReason);
        return;
    }
    if (!EnableShutdownPrivilege()) return;
    ExitWindowsEx(ntFlags | (chooserState.force ? EWX_FORCE : 0), kExitReason);
}

}  // namespace

DWORD ReportedFamily() {
    OSVERSIONINFOA info = {sizeof info};
    GetVersionExA(&info);
    return info.dwPlatformId;
}

// A refused call leaves the platform id at 0, which is not NT: the caller then takes the 9x
// paths, which ask for no privilege and no forced request.
bool IsWin9xFamily() { return ReportedFamily() != VER_PLATFORM_WIN32_NT; }

bool HasBootManager() {
    OSVERSIONINFOA info = {sizeof info};
    return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 6;
}

bool EnableShutdownPrivilege() {
    if (IsWin9xFamily()) return true;
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken)) return false;
    KernelHandle token(rawToken);
    TOKEN_PRIVILEGES enable = {1};
    if (!LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &enable.Privileges[0].Luid)) return false;
    enable.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    TOKEN_PRIVILEGES previous = {};
    DWORD previousLength = 0;
    // Success with ERROR_NOT_ALL_ASSIGNED means the token lacks the privilege; ExitWindowsEx
    // will then refuse on its own, so that is not asked here.
    return AdjustTokenPrivileges(token.Get(), FALSE, &enable, sizeof previous, &previous, &previousLength);
}

void RestartSystem() { RequestExit(EWX_REBOOT, EWX_REBOOT); }

void PowerOffSystem() { RequestExit(EWX_SHUTDOWN, EWX_POWEROFF); }

void TerminateProcessByName(std::string_view imageName) {
    KernelHandle snapshot(ToolHelpSnapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid()) return;
    const String wanted = UpperAscii(imageName);
    PROCESSENTRY32 entry = {sizeof entry};
    bool found = false;
    for (bool more = ToolHelpFirst(snapshot.Get(), &entry); more; more = ToolHelpNext(snapshot.Get(), &entry)) {
        if (UpperAscii(FileNamePart(entry.szExeFile)) == wanted) {
            found = true;
            break;
        }
    }
    snapshot.Reset();
    if (!found) return;
    KernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
    if (process.Valid()) TerminateProcess(process.Get(), kPlayerExitCode);
}

void TerminatePlayer() { TerminateProcessByName("Winamp.exe"); }

}  // namespace mvorbel
