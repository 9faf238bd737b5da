#pragma once
// Loaded modules: handles, exported entry points and file names.
#include "platform/winsim/base/base.h"

// A null name gives the executable's own module. A name without extension gets ".dll".
HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName);
// A buffer too small receives the first `size` characters of the path, not zero-terminated; the
// call then returns size and sets ERROR_INSUFFICIENT_BUFFER.
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
