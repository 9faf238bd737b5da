#pragma once
// Read-only access to a registry key, closed with its owner. The wide value query is found at run
// time: Windows 95's advapi32 need not have it, and the exe must load there all the same.
#include "platform/runtime/string.h"
#include "platform/win32.h"

namespace mvorbel {

class RegistryKey {
 public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey();

    // Opens `path` below `parent` for reading values: ERROR_SUCCESS or the platform's error code
    // (ERROR_FILE_NOT_FOUND for a key that isn't there, ERROR_ACCESS_DENIED for one the process
    // may not read).
    LONG Open(HKEY parent, const char* path);

    // The UTF-16 units of a value of the given type, as stored (terminators included); a value
    // of another type is ERROR_FILE_NOT_FOUND too, since the caller can't use it.
    LONG ReadUnits(const WCHAR* name, DWORD type, WideString& units) const;

 private:
    HKEY key_ = nullptr;
};

}  // namespace mvorbel
