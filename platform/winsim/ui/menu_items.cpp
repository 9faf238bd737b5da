// Menu items as the calls that take a MENUITEMINFO record see them: inserted, read and changed,
// in the single-byte form (texts in the ANSI code page) and the wide one (UTF-16).
#include <cstddef>
#include <cstring>

#include "platform/winsim/ui/ui_state.h"

using namespace winsim::ui;

namespace {

bool IsStringItem(UINT type) { return (type & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR)) == 0; }

// The text of a record's dwTypeData, which the single-byte calls give in the ANSI code page.
std::u16string TextIn(const MENUITEMINFOA& info) { return winsim::FromCodePage(CP_ACP, info.dwTypeData); }
std::u16string TextIn(const MENUITEMINFOW& info) { return info.dwTypeData; }

// A short buffer gets the text's beginning; cch then says how much was copied. Without a buffer
// cch is the text's length.
template <class Char>
void CopyOut(const std::basic_string<Char>& text, Char* buffer, UINT& cch) {
    UINT length = static_cast<UINT>(text.size());
    if (buffer && cch) {
        UINT copied = cch <= length ? cch - 1 : length;
        std::memcpy(buffer, text.data(), copied * sizeof(Char));
        buffer[copied] = Char{};
        cch = copied;
    } else {
        cch = length;
    }
}
void TextOut(const std::u16string& text, MENUITEMINFOA& info) {
    CopyOut(winsim::ToCodePage(CP_ACP, text), info.dwTypeData, info.cch);
}
void TextOut(const std::u16string& text, MENUITEMINFOW& info) { CopyOut(text, info.dwTypeData, info.cch); }

// Accepts the record's two historical sizes and brings both to the full layout; MIIM_TYPE is
// the old spelling of MIIM_FTYPE plus MIIM_STRING or MIIM_BITMAP and must not be mixed with them.
template <class Info>
bool Normalize(const Info* in, Info& out) {
    if (!in || (in->cbSize != sizeof(Info) && in->cbSize != offsetof(Info, hbmpItem))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    out = {};
    std::memcpy(&out, in, in->cbSize);
    if (((out.fMask & MIIM_TYPE) && (out.fMask & (MIIM_STRING | MIIM_FTYPE | MIIM_BITMAP))) ||
        ((out.fMask & MIIM_FTYPE) && (out.fType & MFT_BITMAP))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

template <class Info>
bool Apply(MenuItem& item, Info info) {
    if (info.fMask & MIIM_TYPE) {
        info.fMask |= MIIM_FTYPE;
        if (IsStringItem(info.fType)) {
            info.fMask |= MIIM_STRING;
        } else if (info.fType & MFT_BITMAP) {
            info.fMask |= MIIM_BITMAP;
            info.hbmpItem = reinterpret_cast<HBITMAP>(reinterpret_cast<ULONG_PTR>(info.dwTypeData) & 0xFFFF);
        } else {
            item.hasText = false;
            item.text.clear();
        }
    }
    if (info.fMask & MIIM_SUBMENU) {
        if (info.hSubMenu) {
            Menu* sub = FindMenu(info.hSubMenu);
            if (!sub) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return false;
            }
            sub->popup = true;
        }
    }
    if (info.fMask & MIIM_FTYPE) item.type = (item.type & ~kTypeMask) | (info.fType & kTypeMask);
    if (info.fMask & MIIM_STRING) {
        item.hasText = info.dwTypeData != nullptr;
        item.text = info.dwTypeData ? TextIn(info) : u"";
    }
    if (info.fMask & MIIM_STATE) item.state = info.fState & kStateMask;
    if (info.fMask & MIIM_ID) item.id = info.wID;
    if (info.fMask & MIIM_SUBMENU) {
        item.submenu = info.hSubMenu;
        item.type = info.hSubMenu ? (item.type | MF_POPUP) : (item.type & ~MF_POPUP);
    }
    if (info.fMask & MIIM_CHECKMARKS) {
        item.checkedBitmap = info.hbmpChecked;
        item.uncheckedBitmap = info.hbmpUnchecked;
    }
    if (info.fMask & MIIM_DATA) item.data = info.dwItemData;
    if (info.fMask & MIIM_BITMAP) item.bitmap = info.hbmpItem;
    // An item with nothing to draw is shown as a separator.
    if (!item.hasText && !(item.type & MFT_OWNERDRAW) && !item.bitmap) item.type |= MFT_SEPARATOR;
    return true;
}

template <class Info>
void Fill(const MenuItem& item, Info& info) {
    using TypeData = decltype(info.dwTypeData);
    if (info.fMask & MIIM_TYPE) {
        info.fType = item.type & kTypeMask;
        if (item.bitmap) info.fType |= MFT_BITMAP;
        info.hbmpItem = item.bitmap;
        if (info.fType & MFT_BITMAP) {
            info.dwTypeData = reinterpret_cast<TypeData>(item.bitmap);
            info.cch = 0;
        } else if (info.fType & (MFT_OWNERDRAW | MFT_SEPARATOR)) {
            info.dwTypeData = nullptr;
            info.cch = 0;
        }
    }
    if ((info.fMask & (MIIM_TYPE | MIIM_STRING)) && !((info.fMask & MIIM_TYPE) && !IsStringItem(info.fType))) {
        if (!item.hasText) {
            if (info.dwTypeData && info.cch) info.dwTypeData[0] = 0;
            info.cch = 0;
        } else {
            TextOut(item.text, info);
        }
    }
    if (info.fMask & MIIM_FTYPE) info.fType = item.type & kTypeMask;
    if (info.fMask & MIIM_BITMAP) info.hbmpItem = item.bitmap;
    if (info.fMask & MIIM_STATE) info.fState = item.state & kStateMask;
    if (info.fMask & MIIM_ID) info.wID = item.id;
    info.hSubMenu = (info.fMask & MIIM_SUBMENU) ? item.submenu : nullptr;
    if (info.fMask & MIIM_CHECKMARKS) {
        info.hbmpChecked = item.checkedBitmap;
        info.hbmpUnchecked = item.uncheckedBitmap;
    }
    if (info.fMask & MIIM_DATA) info.dwItemData = item.data;
}

// The 9x family's wide-character menu calls are stubs.
bool WideCallRefused() {
    if (winsim::detail::NtFamilyNow()) return false;
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return true;
}

template <class Info>
BOOL InsertItem(const char* function, HMENU menu, UINT item, BOOL byPosition, const Info* info) {
    if (winsim::detail::FailsNow(function)) return FALSE;
    Menu* target = FindMenuOrFail(menu);
    if (!target) return FALSE;
    Info normal;
    if (!Normalize(info, normal)) return FALSE;
    MenuItem fresh;
    if (!Apply(fresh, normal)) return FALSE;
    std::size_t index = target->items.size();
    if (byPosition) {
        if (item < index) index = item;
    } else if (auto place = Locate(menu, item, false)) {
        // By command the new item goes before the found one, in whichever submenu holds it.
        target = FindMenu(place->menu);
        index = place->index;
    }
    target->items.insert(target->items.begin() + static_cast<std::ptrdiff_t>(index), fresh);
    return TRUE;
}

template <class Info>
BOOL GetItem(HMENU menu, UINT item, BOOL byPosition, Info* info) {
    if (!FindMenuOrFail(menu)) return FALSE;
    Info full;
    if (!Normalize(static_cast<const Info*>(info), full)) return FALSE;
    auto place = Locate(menu, item, byPosition != FALSE);
    if (!place) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    Fill(At(*place), full);
    // Only the caller's own size is written back: an old-layout record has no hbmpItem.
    UINT size = info->cbSize;
    std::memcpy(info, &full, size);
    info->cbSize = size;
    return TRUE;
}

template <class Info>
BOOL SetItem(const char* function, HMENU menu, UINT item, BOOL byPosition, const Info* info) {
    if (winsim::detail::FailsNow(function)) return FALSE;
    if (!FindMenuOrFail(menu)) return FALSE;
    Info normal;
    if (!Normalize(info, normal)) return FALSE;
    auto place = Locate(menu, item, byPosition != FALSE);
    if (!place) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    MenuItem changed = At(*place);
    if (!Apply(changed, normal)) return FALSE;
    At(*place) = changed;
    return TRUE;
}

}  // namespace

BOOL WINAPI InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOA info) {
    return InsertItem("InsertMenuItemA", menu, item, byPosition, info);
}

BOOL WINAPI InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
    return !WideCallRefused() && InsertItem("InsertMenuItemW", menu, item, byPosition, info);
}

BOOL WINAPI GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOA info) {
    return GetItem(menu, item, byPosition, info);
}

BOOL WINAPI GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info) {
    return !WideCallRefused() && GetItem(menu, item, byPosition, info);
}

BOOL WINAPI SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOA info) {
    return SetItem("SetMenuItemInfoA", menu, item, byPosition, info);
}

BOOL WINAPI SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
    return !WideCallRefused() && SetItem("SetMenuItemInfoW", menu, item, byPosition, info);
}
