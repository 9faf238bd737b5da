#include "core/registry_key.h"

#include "ui/proc_address.h"

namespace mvorbel {
namespace {

using QueryValueW = LONG(WINAPI*)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);

// Texts this program reads are a few hundred bytes; anything far larger is not a boot entry's.
constexpr DWORD kLargestValue = 64 * 1024;
// A value that grows between the size query and the read is asked for again, a few times.
constexpr int kReadTries = 3;

}  // namespace

RegistryKey::~RegistryKey() {
    if (key_ != nullptr) RegCloseKey(key_);
}

LONG RegistryKey::Open(HKEY parent, const char* path) {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = nullptr;
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(parent, path, 0, KEY_QUERY_VALUE, &opened);
    if (result == ERROR_SUCCESS) key_ = opened;
    return result;
}

LONG RegistryKey::ReadUnits(const WCHAR* name, DWORD type, WideString& units) const {
    units.clear();
    const QueryValueW query = ProcAddress<QueryValueW>(GetModuleHandleA("advapi32.dll"), "RegQueryValueExW");
    if (query == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
    if (key_ == nullptr) return ERROR_INVALID_HANDLE;
    for (int attempt = 0; attempt < kReadTries; ++attempt) {
        DWORD found = REG_NONE;
        DWORD bytes = 0;
        LONG result = query(key_, name, nullptr, &found, nullptr, &bytes);
        if (result != ERROR_SUCCESS) return result;
        if (found != type || bytes > kLargestValue) return ERROR_FILE_NOT_FOUND;
        units.Resize((bytes + 1) / sizeof(WCHAR));
        bytes = static_cast<DWORD>(units.size() * sizeof(WCHAR));
        result = query(key_, name, nullptr, &found, reinterpret_cast<LPBYTE>(units.data()), &bytes);
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS) return result;
        if (found != type) return ERROR_FILE_NOT_FOUND;
        // An odd last byte is half a unit, which no text has.
        units.Truncate(bytes / sizeof(WCHAR));
        return ERROR_SUCCESS;
    }
    units.clear();
    return ERROR_MORE_DATA;
}

}  // namespace mvorbel
