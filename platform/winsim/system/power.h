#pragma once
// Requests that act on the machine: log off, restart, power off, and starting a command line.
#include "platform/winsim/base/base.h"

#define EWX_LOGOFF 0x00000000
#define EWX_SHUTDOWN 0x00000001
#define EWX_REBOOT 0x00000002
#define EWX_FORCE 0x00000004
#define EWX_POWEROFF 0x00000008
#define EWX_FORCEIFHUNG 0x00000010

// On the NT family shutting down, restarting and powering off need SeShutdownPrivilege enabled
// in the process token; without it the call fails with ERROR_PRIVILEGE_NOT_HELD.
BOOL WINAPI ExitWindowsEx(UINT flags, DWORD reason);
// Returns a value above 31 on success, else the error (0, ERROR_FILE_NOT_FOUND, ...).
UINT WINAPI WinExec(LPCSTR commandLine, UINT showCommand);
