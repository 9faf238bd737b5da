#pragma once
// Processes: the current process, starting programs, waiting for them, opening and terminating
// others, and whether the process runs under WoW64.
#include "platform/winsim/base/base.h"
#include "platform/winsim/files/files.h"

#define SYNCHRONIZE 0x00100000L
#define PROCESS_TERMINATE 0x0001
#define PROCESS_QUERY_INFORMATION 0x0400
#define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
#define PROCESS_ALL_ACCESS 0x001F0FFF

#define CREATE_SUSPENDED 0x00000004
#define CREATE_NEW_CONSOLE 0x00000010
#define CREATE_NO_WINDOW 0x08000000
#define STARTF_USESHOWWINDOW 0x00000001

#define INFINITE 0xFFFFFFFF
#define WAIT_OBJECT_0 0x00000000L
#define WAIT_TIMEOUT 258L
#define WAIT_FAILED 0xFFFFFFFF
#define STILL_ACTIVE 259L

struct STARTUPINFOA {
    DWORD cb;
    LPSTR lpReserved;
    LPSTR lpDesktop;
    LPSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    LPBYTE lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
};
using LPSTARTUPINFOA = STARTUPINFOA*;

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};
using PPROCESS_INFORMATION = PROCESS_INFORMATION*;
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

// The pseudo-handle -1: valid in every call that takes a process, never needs closing.
HANDLE WINAPI GetCurrentProcess();
DWORD WINAPI GetCurrentProcessId();
HANDLE WINAPI OpenProcess(DWORD desiredAccess, BOOL inheritHandle, DWORD processId);
BOOL WINAPI TerminateProcess(HANDLE process, UINT exitCode);

// The image is applicationName exactly (no extension is added, no folder searched; without a
// folder it is in the current one, the root of C:), else the first word of the command line,
// searched as WinExec searches. A missing image fails with ERROR_FILE_NOT_FOUND, a missing
// folder with ERROR_PATH_NOT_FOUND, a folder with ERROR_ACCESS_DENIED. The new process's handle
// and its thread's must both be closed.
BOOL WINAPI CreateProcessA(LPCSTR applicationName, LPSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                           LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                           LPVOID environment, LPCSTR currentDirectory, LPSTARTUPINFOA startupInfo,
                           LPPROCESS_INFORMATION processInformation);
// On a process or thread handle: WAIT_OBJECT_0 once it has ended, WAIT_TIMEOUT when it is still
// running after the time given. A handle opened without SYNCHRONIZE fails with
// ERROR_ACCESS_DENIED, any other handle with ERROR_INVALID_HANDLE (WAIT_FAILED).
DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds);
// STILL_ACTIVE while the process runs, then its exit code.
BOOL WINAPI GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
// Windows XP SP2 and later; programs that also run on older systems find it with GetProcAddress.
BOOL WINAPI IsWow64Process(HANDLE process, PBOOL wow64Process);
