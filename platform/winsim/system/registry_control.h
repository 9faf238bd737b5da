#pragma once
// Test control of the registry: values set and read back, keys removed, keys the process may not
// open. Key paths are UTF-8 and begin with the predefined key, in full or short:
// "HKEY_LOCAL_MACHINE\BCD00000000" or "HKLM\BCD00000000" (HKCU, HKU and HKCR likewise); names
// are compared without regard to case, as the platform compares them. Reset leaves the four
// predefined keys empty.
#include <optional>
#include <string>
#include <vector>

#include "platform/winsim/system/registry.h"

namespace winsim {

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const RegistryValue&) const = default;
};

// Sets a value, making the key and the keys above it. An empty name is the key's default value.
void SetRegistryValue(const std::string& keyPath, const std::string& name, RegistryValue value);
// REG_SZ: the text in UTF-16LE and its terminator.
void SetRegistryString(const std::string& keyPath, const std::string& name, const std::string& utf8);
// REG_MULTI_SZ: each text in UTF-16LE and its terminator, then one more terminator.
void SetRegistryMultiString(const std::string& keyPath, const std::string& name,
                            const std::vector<std::string>& utf8);

// Removes the key and everything below it; nothing when there is no such key. A handle still
// open to one of them answers ERROR_KEY_DELETED from then on.
void RemoveRegistryKey(const std::string& keyPath);
// From now on the process may not open the key or any key below it, including keys made below
// it later, as an access list that its subkeys inherit would deny it. Handles already open keep
// their access. The key is made when there is none.
void DenyRegistryAccess(const std::string& keyPath);

bool RegistryKeyExists(const std::string& keyPath);
// Nothing when the key or the value is absent.
std::optional<RegistryValue> ReadRegistryValue(const std::string& keyPath, const std::string& name);
// The texts of a REG_SZ or REG_MULTI_SZ value in UTF-8, up to their terminators; nothing when the
// value is absent or of another type.
std::optional<std::string> ReadRegistryString(const std::string& keyPath, const std::string& name);
std::optional<std::vector<std::string>> ReadRegistryMultiString(const std::string& keyPath,
                                                                const std::string& name);

}  // namespace winsim
