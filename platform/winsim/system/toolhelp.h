#pragma once
// Tool-help snapshots of the process table (tlhelp32.h). Programs that must also run where
// these are absent find them through GetModuleHandleA("kernel32.dll") and GetProcAddress.
#include "platform/winsim/base/base.h"

#define TH32CS_SNAPHEAPLIST 0x00000001
#define TH32CS_SNAPPROCESS 0x00000002
#define TH32CS_SNAPTHREAD 0x00000004
#define TH32CS_SNAPMODULE 0x00000008

struct PROCESSENTRY32 {
    DWORD dwSize;
    DWORD cntUsage;
    DWORD th32ProcessID;
    ULONG_PTR th32DefaultHeapID;
    DWORD th32ModuleID;
    DWORD cntThreads;
    DWORD th32ParentProcessID;
    LONG pcPriClassBase;
    DWORD dwFlags;
    CHAR szExeFile[MAX_PATH];
};
using PPROCESSENTRY32 = PROCESSENTRY32*;
using LPPROCESSENTRY32 = PROCESSENTRY32*;

// The snapshot is a copy of the table when it is taken; later changes don't show in it.
HANDLE WINAPI CreateToolhelp32Snapshot(DWORD flags, DWORD processId);
// Both require dwSize >= sizeof(PROCESSENTRY32) (else ERROR_BAD_LENGTH) and end with
// ERROR_NO_MORE_FILES.
BOOL WINAPI Process32First(HANDLE snapshot, LPPROCESSENTRY32 entry);
BOOL WINAPI Process32Next(HANDLE snapshot, LPPROCESSENTRY32 entry);
