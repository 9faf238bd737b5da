#pragma once
// The Popup menu's layout: its template, what each item is, and how items are labelled.
#include <string_view>

#include "core/bcd_store.h"
#include "platform/runtime/string.h"
#include "ui/display_text.h"
#include "ui/menu_object.h"

namespace mvorbel {

// Items of the Popup menu by index, in template order.
enum MenuItemIndex : int {
    kFirstOsItem = 0,  // items 0..4: the operating systems of slots 1..5
    kLastOsItem = 4,
    kShutdownSeparator = 5,
    kHibernateItem = 6,
    kHibernateSeparator = 7,
    kTurnOffItem = 8,
    kCancelSeparator = 9,
    kCancelItem = 10,
};

inline constexpr int kMenuTemplateLastIndex = 11;

// "Перезагрузить в " (restart into), in Windows-1251.
inline constexpr const char* kRestartIntoText = "\xCF\xE5\xF0\xE5\xE7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xFC \xE2 ";

// Twelve texts; the empty text ends the template.
extern const char* const kMenuTemplate[kMenuTemplateLastIndex + 1];

// The label of an operating-system item: the program's own "Перезагрузить в " and the
// description, which is in the system's code page, as the loader's file was written on this
// machine. The platform takes a single "&" as an accelerator prefix and would hide it, so every
// "&" of the description is doubled to show as written.
DisplayText OsItemLabel(std::string_view description);

struct OsEntry;
// The label of an entry of the BCD store: "Перезагрузить в " and the store's description in
// quotes (the GUID where the entry has none), shown as written whatever the code page.
DisplayText StoreItemLabel(const OsEntry& entry);

// Reads the entries and the default key of the running system's boot menu into chooserState:
// c:\boot.ini's (raises InOutError; always kRead otherwise) or the BCD store's.
StoreRead ReadBootEntries();

// Shows chooserState's entries on items 0..4: each used slot's item labelled and shown, every
// other one hidden, and the check mark on the first slot whose key the default names, the entry
// the loader starts, alone.
void ShowOsEntries(MenuObject* menu);

// Where a hibernation file would be: on the 9x family the lower-cased system directory (which
// ends in a backslash) followed by "\vmmhiber.w9x"; on the NT family the system drive's letter
// followed by ":\hiberfil.sys".
String HibernationProbePath(std::string_view systemDirectory, bool win9xFamily);

}  // namespace mvorbel
