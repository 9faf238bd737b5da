#include "ui/menu_item_text.h"

#include <cstddef>

#include "platform/runtime/memory.h"
#include "ui/menu_platform.h"
#include "ui/proc_address.h"

namespace mvorbel {

namespace {

static_assert(sizeof(MENUITEMINFOA) == sizeof(MENUITEMINFOW) &&
                  offsetof(MENUITEMINFOA, dwTypeData) == offsetof(MENUITEMINFOW, dwTypeData) &&
                  offsetof(MENUITEMINFOA, hbmpItem) == offsetof(MENUITEMINFOW, hbmpItem),
              "the two records differ only in the type of dwTypeData");

using NarrowItemCall = BOOL(WINAPI*)(HMENU, UINT, BOOL, const MENUITEMINFOA*);
using WideItemCall = BOOL(WINAPI*)(HMENU, UINT, BOOL, const MENUITEMINFOW*);

BOOL CallWithText(NarrowItemCall narrow, const char* wideName, HMENU menu, UINT item, BOOL byPosition,
                  MENUITEMINFOA info, DisplayText& text) {
    // Found by name: Windows 95's user32 has the wide menu calls at most as stubs, and an exe
    // that imported them might not load there. Should one be missing on the NT family, the
    // single-byte call still shows the text as the system's code page reads it.
    const WideItemCall wide =
        HasWideCalls() ? ProcAddress<WideItemCall>(GetModuleHandleA("user32.dll"), wideName) : nullptr;
    if (wide != nullptr) {
        MENUITEMINFOW record;
        MemCopy(&record, &info, sizeof record);
        record.dwTypeData = text.wide.data();
        record.cch = static_cast<UINT>(text.wide.size());
        return wide(menu, item, byPosition, &record);
    }
    info.dwTypeData = text.bytes.data();
    info.cch = static_cast<UINT>(text.bytes.size());
    return narrow(menu, item, byPosition, &info);
}

}  // namespace

BOOL InsertItemWithText(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA info, DisplayText& text) {
    return CallWithText(&InsertMenuItemA, "InsertMenuItemW", menu, item, byPosition, info, text);
}

BOOL SetItemWithText(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA info, DisplayText& text) {
    return CallWithText(&SetMenuItemInfoA, "SetMenuItemInfoW", menu, item, byPosition, info, text);
}

}  // namespace mvorbel
