#pragma once
// The boot entries of the Windows Boot Manager (Vista and later), read from the registry view of
// the system's BCD store, HKLM\BCD00000000. Each object is a key under Objects named by its GUID;
// each of its elements a key under Elements named by the element's type in hex, with the data in
// the value "Element". The store is only ever read here: Windows' own bcdedit changes it.
#include <string_view>

#include "platform/runtime/string.h"
#include "platform/win32.h"

namespace mvorbel {

inline constexpr const char* kStoreKey = "BCD00000000";
inline constexpr const char* kBootManagerGuid = "{9dea862c-5cdd-4e70-acc1-f32b344d4795}";
// Elements of the Boot Manager: the menu's entries in order, the default entry, and the entry
// for the next start only.
inline constexpr const char* kDisplayOrderElement = "24000001";
inline constexpr const char* kDefaultElement = "23000003";
inline constexpr const char* kBootSequenceElement = "24000002";
// An entry's description.
inline constexpr const char* kDescriptionElement = "12000004";

enum class StoreRead { kRead, kAbsent, kDenied };

// Fills chooserState's slots with the first five entries of the display order that exist (key:
// the GUID; wide description: the store's), and its default key with the default entry's GUID.
// kAbsent when there is no store or none of its entries exists, kDenied when the process may
// not read it (not elevated).
StoreRead ReadBcdStore();

// The GUID the store now names as default, or the first of the next start's sequence; empty when
// it names none or can't be read.
String ReadBcdDefault();
String ReadBcdBootSequenceHead();

// --- The text rules, apart from the registry ---------------------------------------------

// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" with hex digits in either case: the only text this
// program ever puts on bcdedit's command line.
bool IsGuidText(WideView text);
// GUIDs are the same whatever the case of their hex letters.
bool SameGuid(std::string_view left, std::string_view right);
// A GUID's units as single bytes; empty when the units are not a GUID.
String GuidFromUnits(WideView units);
// "BCD00000000\Objects\<object>\Elements\<element>", or the object's own key without an element.
String StorePath(std::string_view object, const char* element = nullptr);

// Calls `each` with every string of a REG_MULTI_SZ value's units, in order; an empty string ends
// the list, as the platform's own readers take it.
template <class Each>
void ForEachString(WideView multiString, Each each) {
    std::size_t start = 0;
    while (start < multiString.size()) {
        std::size_t end = multiString.find(WCHAR{0}, start);
        if (end == WideView::npos) end = multiString.size();
        if (end == start) return;
        // Not substr: it may raise, which a program without exceptions can't afford.
        each(WideView(multiString.data() + start, end - start));
        start = end + 1;
    }
}

// A REG_SZ value's text: up to its first terminator.
WideView StringValueText(WideView units);

}  // namespace mvorbel
