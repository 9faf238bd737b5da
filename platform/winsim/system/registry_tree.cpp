#include "platform/winsim/system/registry_tree.h"

#include <stdexcept>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/area_state.h"

namespace winsim::detail {
namespace {

struct RegistryState {
    KeyPointer classesRoot = std::make_shared<RegistryKey>(RegistryKey{u"HKEY_CLASSES_ROOT"});
    KeyPointer currentUser = std::make_shared<RegistryKey>(RegistryKey{u"HKEY_CURRENT_USER"});
    KeyPointer localMachine = std::make_shared<RegistryKey>(RegistryKey{u"HKEY_LOCAL_MACHINE"});
    KeyPointer users = std::make_shared<RegistryKey>(RegistryKey{u"HKEY_USERS"});
};
RegistryState& State() { return AreaState<RegistryState>(); }

char16_t FoldedUnit(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x430 && c <= 0x44F))
        return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
    return c;
}

void MarkDeleted(RegistryKey& key) {
    key.deleted = true;
    for (auto& [name, sub] : key.subkeys) MarkDeleted(*sub);
}

void MarkDenied(RegistryKey& key) {
    key.denied = true;
    for (auto& [name, sub] : key.subkeys) MarkDenied(*sub);
}

std::u16string Wide(const std::string& utf8) { return FromCodePage(CP_UTF8, utf8); }

}  // namespace

std::u16string FoldedName(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& c : folded) c = FoldedUnit(c);
    return folded;
}

KeyPointer RegistryRoot(HKEY predefined) {
    auto& state = State();
    if (predefined == HKEY_CLASSES_ROOT) return state.classesRoot;
    if (predefined == HKEY_CURRENT_USER) return state.currentUser;
    if (predefined == HKEY_LOCAL_MACHINE) return state.localMachine;
    if (predefined == HKEY_USERS) return state.users;
    return nullptr;
}

KeyPointer SubKey(const KeyPointer& from, std::u16string_view path, bool make) {
    KeyPointer key = from;
    while (!path.empty()) {
        const std::size_t end = path.find(u'\\');
        const std::u16string_view name = path.substr(0, end);
        path = end == std::u16string_view::npos ? std::u16string_view() : path.substr(end + 1);
        if (name.empty()) continue;
        const std::u16string folded = FoldedName(name);
        auto found = key->subkeys.find(folded);
        if (found != key->subkeys.end()) {
            key = found->second;
        } else if (make) {
            auto made = std::make_shared<RegistryKey>(RegistryKey{std::u16string(name), {}, {}, key->denied});
            key = key->subkeys[folded] = made;
        } else {
            return nullptr;
        }
    }
    return key;
}

KeyPointer KeyAtPath(const std::string& keyPath, bool make) {
    const std::u16string path = Wide(keyPath);
    const std::u16string root = FoldedName(path.substr(0, path.find(u'\\')));
    const std::u16string rest = root.size() < path.size() ? path.substr(root.size() + 1) : u"";
    const std::pair<const char16_t*, const char16_t*> names[] = {
        {u"HKEY_CLASSES_ROOT", u"HKCR"}, {u"HKEY_CURRENT_USER", u"HKCU"},
        {u"HKEY_LOCAL_MACHINE", u"HKLM"}, {u"HKEY_USERS", u"HKU"}};
    const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
    for (std::size_t i = 0; i < std::size(roots); ++i)
        if (root == names[i].first || root == names[i].second) return SubKey(RegistryRoot(roots[i]), rest, make);
    throw std::invalid_argument("winsim: no predefined registry key begins " + keyPath);
}

const RegistryValue* FindValue(const RegistryKey& key, std::u16string_view name) {
    const std::u16string folded = FoldedName(name);
    for (const auto& [valueName, value] : key.values)
        if (FoldedName(valueName) == folded) return &value;
    return nullptr;
}

void PutValue(RegistryKey& key, std::u16string_view name, RegistryValue value) {
    if (auto* existing = const_cast<RegistryValue*>(FindValue(key, name)))
        *existing = std::move(value);
    else
        key.values.emplace_back(name, std::move(value));
}

std::vector<BYTE> StringData(const std::vector<std::string>& utf8, bool multi) {
    std::u16string units;
    for (const auto& text : utf8) units += Wide(text) + u'\0';
    if (multi) units += u'\0';
    std::vector<BYTE> data;
    for (char16_t unit : units) {
        data.push_back(static_cast<BYTE>(unit & 0xFF));
        data.push_back(static_cast<BYTE>(unit >> 8));
    }
    return data;
}

std::vector<std::string> Texts(const std::vector<BYTE>& data) {
    std::vector<std::string> texts;
    std::u16string text;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit != u'\0') {
            text += unit;
            continue;
        }
        // Two terminators in a row end the list.
        if (text.empty()) break;
        texts.push_back(Utf8(text));
        text.clear();
    }
    if (!text.empty()) texts.push_back(Utf8(text));
    return texts;
}

}  // namespace winsim::detail

namespace winsim {

using detail::KeyAtPath;

void SetRegistryValue(const std::string& keyPath, const std::string& name, RegistryValue value) {
    detail::PutValue(*KeyAtPath(keyPath, true), detail::Wide(name), std::move(value));
}

void SetRegistryString(const std::string& keyPath, const std::string& name, const std::string& utf8) {
    SetRegistryValue(keyPath, name, {REG_SZ, detail::StringData({utf8}, false)});
}

void SetRegistryMultiString(const std::string& keyPath, const std::string& name,
                            const std::vector<std::string>& utf8) {
    SetRegistryValue(keyPath, name, {REG_MULTI_SZ, detail::StringData(utf8, true)});
}

void RemoveRegistryKey(const std::string& keyPath) {
    const std::size_t parentEnd = keyPath.find_last_of('\\');
    if (parentEnd == std::string::npos) throw std::invalid_argument("winsim: a predefined key stays: " + keyPath);
    const detail::KeyPointer parent = KeyAtPath(keyPath.substr(0, parentEnd));
    if (!parent) return;
    const std::u16string name = detail::FoldedName(detail::Wide(keyPath.substr(parentEnd + 1)));
    auto found = parent->subkeys.find(name);
    if (found == parent->subkeys.end()) return;
    detail::MarkDeleted(*found->second);
    parent->subkeys.erase(found);
}

void DenyRegistryAccess(const std::string& keyPath) { detail::MarkDenied(*KeyAtPath(keyPath, true)); }

bool RegistryKeyExists(const std::string& keyPath) { return KeyAtPath(keyPath) != nullptr; }

std::optional<RegistryValue> ReadRegistryValue(const std::string& keyPath, const std::string& name) {
    const detail::KeyPointer key = KeyAtPath(keyPath);
    const RegistryValue* value = key ? detail::FindValue(*key, detail::Wide(name)) : nullptr;
    return value ? std::optional(*value) : std::nullopt;
}

std::optional<std::string> ReadRegistryString(const std::string& keyPath, const std::string& name) {
    const auto value = ReadRegistryValue(keyPath, name);
    if (!value || value->type != REG_SZ) return std::nullopt;
    const auto texts = detail::Texts(value->data);
    return texts.empty() ? "" : texts.front();
}

std::optional<std::vector<std::string>> ReadRegistryMultiString(const std::string& keyPath,
                                                                const std::string& name) {
    const auto value = ReadRegistryValue(keyPath, name);
    if (!value || value->type != REG_MULTI_SZ) return std::nullopt;
    return detail::Texts(value->data);
}

}  // namespace winsim
