#pragma once
// The registry's keys and values underneath the API, its test control and the programs winsim
// runs. Internal to winsim.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/winsim/system/registry_control.h"

namespace winsim::detail {

struct RegistryKey {
    std::u16string name;  // as spelled when it was made
    std::vector<std::pair<std::u16string, RegistryValue>> values;
    std::map<std::u16string, std::shared_ptr<RegistryKey>> subkeys;  // by folded name
    bool denied = false;   // the process may not open it; keys made below it inherit this
    bool deleted = false;  // removed, while a handle may still hold it
};
using KeyPointer = std::shared_ptr<RegistryKey>;

// A name as the registry compares it: letters of the Latin and Cyrillic alphabets in upper case.
std::u16string FoldedName(std::u16string_view name);

// The key a predefined handle stands for, or null for any other value.
KeyPointer RegistryRoot(HKEY predefined);
// The key at a path of names separated by '\' below `from`, or null. With make, the missing
// keys are made on the way, each inheriting its parent's denial.
KeyPointer SubKey(const KeyPointer& from, std::u16string_view path, bool make = false);
// The key at a control path ("HKLM\..."); an unknown predefined key is a test's mistake and throws.
KeyPointer KeyAtPath(const std::string& keyPath, bool make = false);

const RegistryValue* FindValue(const RegistryKey& key, std::u16string_view name);
void PutValue(RegistryKey& key, std::u16string_view name, RegistryValue value);

// REG_SZ and REG_MULTI_SZ data from UTF-8 texts, and the texts of such data.
std::vector<BYTE> StringData(const std::vector<std::string>& utf8, bool multi);
std::vector<std::string> Texts(const std::vector<BYTE>& data);

}  // namespace winsim::detail
