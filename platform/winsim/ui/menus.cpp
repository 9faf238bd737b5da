// Menus and their items as the platform keeps them.
#include <cstddef>
#include <cstring>
#include <optional>

#include "platform/winsim/ui/ui_state.h"

using namespace winsim::ui;

namespace {

constexpr UINT kTypeMask = 0x6B64;   // the MFT_* bits a caller can see
constexpr UINT kStateMask = 0x108B;  // the MFS_* bits a caller can see
constexpr int kMaxDepth = 32;

bool IsStringItem(UINT type) { return (type & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR)) == 0; }

Menu* FindMenuOrFail(HMENU menu) {
    Menu* found = FindMenu(menu);
    if (!found) SetLastError(ERROR_INVALID_MENU_HANDLE);
    return found;
}

struct Place {
    HMENU menu;
    std::size_t index;
};

// By command the platform searches submenus before it accepts a popup item that carries the id.
std::optional<Place> Locate(HMENU menu, UINT item, bool byPosition, int depth = 0) {
    Menu* m = FindMenu(menu);
    if (!m || depth > kMaxDepth) return std::nullopt;
    if (byPosition) {
        if (item < m->items.size()) return Place{menu, item};
        return std::nullopt;
    }
    std::optional<Place> fallback;
    for (std::size_t i = 0; i < m->items.size(); ++i) {
        const MenuItem& entry = m->items[i];
        if (entry.submenu) {
            if (auto inside = Locate(entry.submenu, item, false, depth + 1)) return inside;
            if (entry.id == item && !fallback) fallback = Place{menu, i};
        } else if (entry.id == item) {
            return Place{menu, i};
        }
    }
    return fallback;
}

MenuItem& At(const Place& place) { return FindMenu(place.menu)->items[place.index]; }

// Accepts the record's two historical sizes and brings both to the full layout; MIIM_TYPE is
// the old spelling of MIIM_FTYPE plus MIIM_STRING or MIIM_BITMAP and must not be mixed with them.
bool Normalize(const MENUITEMINFOA* in, MENUITEMINFOA& out) {
    if (!in || (in->cbSize != sizeof(MENUITEMINFOA) && in->cbSize != offsetof(MENUITEMINFOA, hbmpItem))) {
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

bool Apply(MenuItem& item, MENUITEMINFOA info) {
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
        item.text = info.dwTypeData ? info.dwTypeData : "";
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

void Fill(const MenuItem& item, MENUITEMINFOA& info) {
    if (info.fMask & MIIM_TYPE) {
        info.fType = item.type & kTypeMask;
        if (item.bitmap) info.fType |= MFT_BITMAP;
        info.hbmpItem = item.bitmap;
        if (info.fType & MFT_BITMAP) {
            info.dwTypeData = reinterpret_cast<LPSTR>(item.bitmap);
            info.cch = 0;
        } else if (info.fType & (MFT_OWNERDRAW | MFT_SEPARATOR)) {
            info.dwTypeData = nullptr;
            info.cch = 0;
        }
    }
    if ((info.fMask & (MIIM_TYPE | MIIM_STRING)) && !((info.fMask & MIIM_TYPE) && !IsStringItem(info.fType))) {
        if (!item.hasText) {
            if (info.dwTypeData && info.cch) info.dwTypeData[0] = '\0';
            info.cch = 0;
        } else {
            UINT length = static_cast<UINT>(item.text.size());
            if (info.dwTypeData && info.cch) {
                // A short buffer gets the text's beginning; cch then says how much was copied.
                UINT copied = info.cch <= length ? info.cch - 1 : length;
                std::memcpy(info.dwTypeData, item.text.data(), copied);
                info.dwTypeData[copied] = '\0';
                info.cch = copied;
            } else {
                info.cch = length;
            }
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

HMENU NewMenu(const char* function, bool popup) {
    if (winsim::detail::FailsNow(function)) return nullptr;
    HMENU menu = NewHandle<HMENU>();
    St().menus[menu].popup = popup;
    return menu;
}

}  // namespace

namespace winsim::ui {

Menu* FindMenu(HMENU menu) {
    auto& menus = St().menus;
    auto found = menus.find(menu);
    return found == menus.end() ? nullptr : &found->second;
}

void DestroyMenuTree(HMENU menu) {
    Menu* m = FindMenu(menu);
    if (!m) return;
    std::vector<HMENU> submenus;
    for (auto& item : m->items)
        if (item.submenu) submenus.push_back(item.submenu);
    St().menus.erase(menu);
    for (HMENU sub : submenus) DestroyMenuTree(sub);
}

}  // namespace winsim::ui

HMENU WINAPI CreateMenu() { return NewMenu("CreateMenu", false); }

HMENU WINAPI CreatePopupMenu() { return NewMenu("CreatePopupMenu", true); }

BOOL WINAPI DestroyMenu(HMENU menu) {
    if (!FindMenuOrFail(menu)) return FALSE;
    DestroyMenuTree(menu);
    return TRUE;
}

BOOL WINAPI IsMenu(HMENU menu) { return FindMenu(menu) ? TRUE : FALSE; }

BOOL WINAPI InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOA info) {
    if (winsim::detail::FailsNow("InsertMenuItemA")) return FALSE;
    Menu* target = FindMenuOrFail(menu);
    if (!target) return FALSE;
    MENUITEMINFOA normal;
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

// The item's submenu, if any, is only detached: it stays alive for its owner to destroy.
BOOL WINAPI RemoveMenu(HMENU menu, UINT item, UINT flags) {
    if (winsim::detail::FailsNow("RemoveMenu")) return FALSE;
    if (!FindMenuOrFail(menu)) return FALSE;
    auto place = Locate(menu, item, (flags & MF_BYPOSITION) != 0);
    if (!place) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    auto& items = FindMenu(place->menu)->items;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(place->index));
    return TRUE;
}

BOOL WINAPI GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOA info) {
    if (!FindMenuOrFail(menu)) return FALSE;
    MENUITEMINFOA full;
    if (!Normalize(info, full)) return FALSE;
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

BOOL WINAPI SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOA info) {
    if (winsim::detail::FailsNow("SetMenuItemInfoA")) return FALSE;
    if (!FindMenuOrFail(menu)) return FALSE;
    MENUITEMINFOA normal;
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

// Walks the ids (or positions) from first to last within the menu that holds the first one
// found; separators are skipped and MFT_RADIOCHECK is set on the checked item only.
BOOL WINAPI CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
    bool byPosition = (flags & MF_BYPOSITION) != 0;
    bool done = false;
    std::optional<HMENU> runMenu;
    for (UINT key = first; key <= last; ++key) {
        auto place = Locate(menu, key, byPosition);
        if (!place) continue;
        if (!runMenu) runMenu = place->menu;
        if (place->menu != *runMenu) continue;
        MenuItem& item = At(*place);
        if ((item.type & kTypeMask) == MFT_SEPARATOR) continue;
        if (key == check) {
            item.type |= MFT_RADIOCHECK;
            item.state |= MFS_CHECKED;
            done = true;
        } else {
            item.state &= ~MFS_CHECKED;
        }
        if (key == last) break;  // last may be 0xFFFFFFFF
    }
    return done ? TRUE : FALSE;
}

int WINAPI GetMenuItemCount(HMENU menu) {
    Menu* m = FindMenuOrFail(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

BOOL WINAPI SetMenu(HWND hwnd, HMENU menu) {
    if (winsim::detail::FailsNow("SetMenu")) return FALSE;
    Window* w = FindOrFail(hwnd);
    if (!w) return FALSE;
    if ((w->style & (WS_CHILD | WS_POPUP)) == WS_CHILD) return FALSE;
    if (menu && !FindMenuOrFail(menu)) return FALSE;
    w->menu = menu;
    w->insets = DefaultInsets(*w);
    // The menu bar is part of the frame: the client area changes size.
    SetPosition(hwnd, nullptr, 0, 0, 0, 0,
                SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER | SWP_FRAMECHANGED);
    return TRUE;
}

HMENU WINAPI GetMenu(HWND hwnd) {
    Window* w = FindOrFail(hwnd);
    if (!w || (w->style & (WS_CHILD | WS_POPUP)) == WS_CHILD) return nullptr;
    return w->menu;
}

BOOL WINAPI DrawMenuBar(HWND hwnd) { return FindOrFail(hwnd) ? TRUE : FALSE; }

namespace winsim {

std::vector<MenuLine> ReadMenu(HMENU menu) {
    std::vector<MenuLine> lines;
    ui::Menu* m = ui::FindMenu(menu);
    if (!m) return lines;
    for (const auto& item : m->items) {
        MenuLine line;
        line.text = item.hasText ? item.text : "";
        line.id = item.id;
        line.type = item.type & kTypeMask;
        line.state = item.state & kStateMask;
        line.checked = (item.state & MFS_CHECKED) != 0;
        line.radio = (item.type & MFT_RADIOCHECK) != 0;
        line.separator = (item.type & MFT_SEPARATOR) != 0;
        line.grayed = (item.state & MFS_GRAYED) != 0;
        line.submenu = item.submenu;
        line.data = item.data;
        lines.push_back(line);
    }
    return lines;
}

std::size_t LiveMenuCount() { return ui::St().menus.size(); }

}  // namespace winsim
