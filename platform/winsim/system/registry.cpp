#include <cstring>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/registry_tree.h"
#include "platform/winsim/system/system_control.h"

namespace winsim {
namespace {

// An open key is a kernel handle, counted and closed as the others are.
struct KeyObject : KernelObject {
    detail::KeyPointer key;
    REGSAM access;
    KeyObject(detail::KeyPointer key, REGSAM access) : key(std::move(key)), access(access) {}
};

// The key behind a handle, predefined or opened, with the access it was opened with.
bool KeyOf(HKEY handle, detail::KeyPointer& key, REGSAM& access) {
    if (auto root = detail::RegistryRoot(handle)) {
        key = root;
        access = KEY_READ;
        return true;
    }
    auto object = FindHandleOf<KeyObject>(reinterpret_cast<HANDLE>(handle));
    if (!object) return false;
    key = object->key;
    access = object->access;
    return true;
}

}  // namespace
}  // namespace winsim

LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM desired, PHKEY result) {
    *result = nullptr;
    if (auto error = winsim::detail::InjectedFailure("RegOpenKeyExA")) return static_cast<LONG>(*error);
    winsim::detail::KeyPointer from;
    REGSAM ignored = 0;
    if (!winsim::KeyOf(key, from, ignored)) return ERROR_INVALID_HANDLE;
    if (from->deleted) return ERROR_KEY_DELETED;
    const std::u16string path = winsim::FromCodePage(CP_ACP, subKey ? subKey : "");
    winsim::detail::KeyPointer opened = winsim::detail::SubKey(from, path);
    if (!opened) return ERROR_FILE_NOT_FOUND;
    if (opened->denied) return ERROR_ACCESS_DENIED;
    *result = reinterpret_cast<HKEY>(winsim::AddHandle(std::make_shared<winsim::KeyObject>(opened, desired)));
    return ERROR_SUCCESS;
}

LONG WINAPI RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                             LPDWORD size) {
    if (auto error = winsim::detail::InjectedFailure("RegQueryValueExW")) return static_cast<LONG>(*error);
    if (!winsim::NtFamily()) return ERROR_CALL_NOT_IMPLEMENTED;
    winsim::detail::KeyPointer from;
    REGSAM access = 0;
    if (!winsim::KeyOf(key, from, access)) return ERROR_INVALID_HANDLE;
    if (reserved != nullptr || (data != nullptr && size == nullptr)) return ERROR_INVALID_PARAMETER;
    if ((access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
    if (from->deleted) return ERROR_KEY_DELETED;
    const winsim::RegistryValue* value = winsim::detail::FindValue(*from, valueName ? valueName : u"");
    if (!value) return ERROR_FILE_NOT_FOUND;
    if (type) *type = value->type;
    const DWORD needed = static_cast<DWORD>(value->data.size());
    if (size == nullptr) return ERROR_SUCCESS;
    const DWORD room = *size;
    *size = needed;
    if (data == nullptr) return ERROR_SUCCESS;
    if (room < needed) return ERROR_MORE_DATA;
    if (needed != 0) std::memcpy(data, value->data.data(), needed);
    return ERROR_SUCCESS;
}

LONG WINAPI RegCloseKey(HKEY key) {
    if (auto error = winsim::detail::InjectedFailure("RegCloseKey")) return static_cast<LONG>(*error);
    if (winsim::detail::RegistryRoot(key)) return ERROR_SUCCESS;
    const HANDLE handle = reinterpret_cast<HANDLE>(key);
    if (!winsim::FindHandleOf<winsim::KeyObject>(handle)) return ERROR_INVALID_HANDLE;
    winsim::RemoveHandle(handle);
    return ERROR_SUCCESS;
}
