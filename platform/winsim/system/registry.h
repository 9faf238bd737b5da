#pragma once
// The registry (advapi32): opening keys and reading their values. The registry functions return
// their error code; they leave the thread's last error alone.
#include "platform/winsim/base/base.h"

DECLARE_HANDLE(HKEY);
using PHKEY = HKEY*;
using REGSAM = DWORD;

// The predefined keys: always open, never closed for good.
#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000000))))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000001))))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000002))))
#define HKEY_USERS (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000003))))

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_READ 0x00020019

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7

// Key names are compared without regard to case. A key the process may not read is refused with
// ERROR_ACCESS_DENIED when it is opened; a handle once given keeps its access. *result is null
// after a failure.
LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result);
// Value names are compared without regard to case; a null or empty name is the key's default
// value. Without data, *size receives the size the value needs; a buffer too small fails with
// ERROR_MORE_DATA and the size needed. Strings come back as they were stored, with the
// terminators they were stored with (or none). On the 9x family this is a stub failing with
// ERROR_CALL_NOT_IMPLEMENTED. A key deleted while its handle was open answers ERROR_KEY_DELETED.
LONG WINAPI RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                             LPDWORD size);
LONG WINAPI RegCloseKey(HKEY key);
