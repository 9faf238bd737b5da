#include "core/bcd_store.h"

#include <utility>

#include "core/chooser_state.h"
#include "core/key_value.h"
#include "core/registry_key.h"

namespace mvorbel {
namespace {

// As units: a wide literal is wchar_t on Windows and char16_t elsewhere.
constexpr WCHAR kElementValue[] = {'E', 'l', 'e', 'm', 'e', 'n', 't', 0};
constexpr std::size_t kGuidLength = 38;

bool IsHexDigit(WCHAR unit) {
    return (unit >= '0' && unit <= '9') || (unit >= 'a' && unit <= 'f') || (unit >= 'A' && unit <= 'F');
}

// One element's data: ERROR_SUCCESS with its units, ERROR_ACCESS_DENIED, or any other code for
// an element that isn't there (or can't be used).
LONG ReadElement(std::string_view object, const char* element, DWORD type, WideString& units) {
    RegistryKey key;
    const LONG opened = key.Open(HKEY_LOCAL_MACHINE, StorePath(object, element).c_str());
    if (opened != ERROR_SUCCESS) return opened;
    return key.ReadUnits(kElementValue, type, units);
}

String ReadGuidElement(const char* element, DWORD type) {
    WideString units;
    if (ReadElement(kBootManagerGuid, element, type, units) != ERROR_SUCCESS) return {};
    if (type == REG_SZ) return GuidFromUnits(StringValueText(units));
    String first;
    bool taken = false;
    ForEachString(units, [&](WideView text) {
        if (!taken) first = GuidFromUnits(text);
        taken = true;
    });
    return first;
}

bool AlreadyListed(std::string_view guid) {
    for (const OsEntry& entry : chooserState.osEntries)
        if (entry.Used() && SameGuid(entry.key, guid)) return true;
    return false;
}

}  // namespace

bool IsGuidText(WideView text) {
    if (text.size() != kGuidLength || text.front() != '{' || text.back() != '}') return false;
    for (std::size_t at = 1; at + 1 < text.size(); ++at) {
        const bool dash = at == 9 || at == 14 || at == 19 || at == 24;
        if (dash ? text[at] != '-' : !IsHexDigit(text[at])) return false;
    }
    return true;
}

bool SameGuid(std::string_view left, std::string_view right) { return LowerAscii(left) == LowerAscii(right); }

String GuidFromUnits(WideView units) {
    String guid;
    if (!IsGuidText(units)) return guid;
    for (WCHAR unit : units) guid += static_cast<char>(unit);
    return guid;
}

String StorePath(std::string_view object, const char* element) {
    String path = String(kStoreKey) + "\\Objects\\";
    path += object;
    if (element != nullptr) {
        path += "\\Elements\\";
        path += element;
    }
    return path;
}

WideView StringValueText(WideView units) {
    const std::size_t end = units.find(WCHAR{0});
    return end == WideView::npos ? units : WideView(units.data(), end);
}

StoreRead ReadBcdStore() {
    for (auto& entry : chooserState.osEntries) entry = OsEntry{};
    chooserState.defaultKey.clear();
    RegistryKey store;
    const LONG opened = store.Open(HKEY_LOCAL_MACHINE, kStoreKey);
    if (opened == ERROR_ACCESS_DENIED) return StoreRead::kDenied;
    if (opened != ERROR_SUCCESS) return StoreRead::kAbsent;

    WideString order;
    if (ReadElement(kBootManagerGuid, kDisplayOrderElement, REG_MULTI_SZ, order) == ERROR_ACCESS_DENIED)
        return StoreRead::kDenied;
    int filled = 0;
    bool denied = false;
    ForEachString(order, [&](WideView text) {
        const String guid = GuidFromUnits(text);
        // Only a well-formed GUID ever reaches bcdedit's command line; an entry listed twice
        // gets one item.
        if (filled == kOsSlotCount || denied || guid.empty() || AlreadyListed(guid)) return;
        RegistryKey object;
        const LONG found = object.Open(HKEY_LOCAL_MACHINE, StorePath(guid).c_str());
        denied = found == ERROR_ACCESS_DENIED;
        if (found != ERROR_SUCCESS) return;
        WideString description;
        ReadElement(guid, kDescriptionElement, REG_SZ, description);
        OsEntry& entry = chooserState.Slot(++filled);
        entry.key = guid;
        entry.wideDescription = StringValueText(description);
    });
    if (denied) return StoreRead::kDenied;
    if (filled == 0) return StoreRead::kAbsent;
    chooserState.defaultKey = ReadBcdDefault();
    return StoreRead::kRead;
}

String ReadBcdDefault() { return ReadGuidElement(kDefaultElement, REG_SZ); }

String ReadBcdBootSequenceHead() { return ReadGuidElement(kBootSequenceElement, REG_MULTI_SZ); }

}  // namespace mvorbel
