// Menus and their items as the platform keeps them.
#include <cstddef>
#include <optional>

#include "platform/winsim/ui/ui_state.h"

using namespace winsim::ui;

namespace {

constexpr int kMaxDepth = 32;

HMENU NewMenu(const char* function, bool popup) {
    if (winsim::detail::FailsNow(function)) return nullptr;
    HMENU menu = NewHandle<HMENU>();
    St().menus[menu].popup = popup;
    return menu;
}

}  // namespace

namespace winsim::ui {

Menu* FindMenuOrFail(HMENU menu) {
    Menu* found = FindMenu(menu);
    if (!found) SetLastError(ERROR_INVALID_MENU_HANDLE);
    return found;
}

std::optional<Place> Locate(HMENU menu, UINT item, bool byPosition, int depth) {
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
        if (item.hasText) {
            line.wide = item.text;
            line.text = ToCodePage(CP_ACP, item.text);
            line.utf8 = Utf8(item.text);
        }
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
