#pragma once
// Processes: the current process, opening and terminating others.
#include "platform/winsim/base/base.h"

#define SYNCHRONIZE 0x00100000L
#define PROCESS_TERMINATE 0x0001
#define PROCESS_QUERY_INFORMATION 0x0400
#define PROCESS_ALL_ACCESS 0x001F0FFF

// The pseudo-handle -1: valid in every call that takes a process, never needs closing.
HANDLE WINAPI GetCurrentProcess();
DWORD WINAPI GetCurrentProcessId();
HANDLE WINAPI OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId);
BOOL WINAPI TerminateProcess(HANDLE process, UINT exitCode);
