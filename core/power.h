#pragma once
// Platform family test, shutdown privilege, restart and power-off requests, and ending the media
// player before either.
#include <string_view>

#include "platform/win32.h"

namespace mvorbel {

// The platform id GetVersionExA reports; 0 when it refuses.
DWORD ReportedFamily();
// True on the 9x family: GetVersionExA reports a platform other than NT.
bool IsWin9xFamily();
// True on NT 6.0 (Vista) and later, which start through the Windows Boot Manager and its BCD
// store; the NT loader's c:\boot.ini, if any is left, no longer decides what starts.
bool HasBootManager();

// Enables SeShutdownPrivilege in the process token on the NT family; true when enabled or not
// needed (9x).
bool EnableShutdownPrivilege();

// Ask ExitWindowsEx to restart / turn off, forced on the NT family when the Settings file says
// so. On the NT family nothing is asked when the privilege can't be enabled.
void RestartSystem();
void PowerOffSystem();

// Terminates the first process in snapshot order whose image name equals imageName, ignoring the
// case of A-Z only. Finding nothing (or no tool-help) is not a failure.
void TerminateProcessByName(std::string_view imageName);
void TerminatePlayer();

}  // namespace mvorbel
