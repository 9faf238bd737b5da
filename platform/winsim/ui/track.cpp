// TrackPopupMenu: the menu's modal loop takes what is already queued first (a cancel, keys, the
// quit message); what the user does after that is played by a script the test supplies.
#include <stdexcept>
#include <string>

#include "platform/winsim/ui/ui_state.h"

using namespace winsim::ui;

namespace {

// What a user can click: an enabled item that is not a separator and opens no submenu.
bool Offers(HMENU menu, UINT id, int depth = 0) {
    Menu* m = FindMenu(menu);
    if (!m || depth > 32) return false;
    for (const auto& item : m->items) {
        if (item.submenu) {
            if (Offers(item.submenu, id, depth + 1)) return true;
        } else if (item.id == id && !(item.type & MFT_SEPARATOR) && !(item.state & MFS_GRAYED)) {
            return true;
        }
    }
    return false;
}

winsim::TrackScript NextScript() {
    auto& state = St();
    if (!state.trackQueue.empty()) {
        auto script = std::move(state.trackQueue.front());
        state.trackQueue.pop_front();
        return script;
    }
    if (state.standingTrackScript) return state.standingTrackScript;
    throw winsim::Hang("TrackPopupMenu: no script says what the user does with the menu");
}

// How the loop ended on messages that were queued before it began.
struct Ending {
    bool ended = false;
    std::optional<UINT> chosen;
};

// The arrow keys move the highlight over every item but separators, grayed ones included.
int MoveHighlight(HMENU menu, int from, int step) {
    Menu* m = FindMenu(menu);
    if (!m || m->items.empty()) return -1;
    int count = static_cast<int>(m->items.size());
    int at = from < 0 ? (step > 0 ? -1 : count) : from;
    for (int i = 0; i < count; ++i) {
        at = (at + step + count) % count;
        if (!(m->items[static_cast<std::size_t>(at)].type & MFT_SEPARATOR)) return at;
    }
    return from;
}

// Enter on nothing, on a grayed item or on a submenu closes the menu without a choice here.
std::optional<UINT> Execute(HMENU menu, int highlight) {
    Menu* m = FindMenu(menu);
    if (!m || highlight < 0 || highlight >= static_cast<int>(m->items.size())) return std::nullopt;
    const MenuItem& item = m->items[static_cast<std::size_t>(highlight)];
    if (item.submenu || (item.state & MFS_GRAYED)) return std::nullopt;
    return item.id;
}

// Posted messages in order: a cancel or Escape ends the loop, arrows and Enter choose, anything
// else is dispatched as the loop goes. Once they are gone a pending quit message ends the loop
// too and stays pending for the caller's own loop.
Ending TakeQueued(HMENU menu) {
    int highlight = -1;
    auto& posted = St().posted;
    while (!posted.empty()) {
        MSG msg = posted.front();
        posted.pop_front();
        if (msg.message == WM_CANCELMODE) return {true, std::nullopt};
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            switch (msg.wParam) {
                case VK_ESCAPE:
                case VK_MENU:
                case VK_F10: return {true, std::nullopt};
                case VK_DOWN: highlight = MoveHighlight(menu, highlight, 1); break;
                case VK_UP: highlight = MoveHighlight(menu, highlight, -1); break;
                case VK_RETURN: return {true, Execute(menu, highlight)};
            }
            continue;
        }
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) continue;
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) continue;
        DispatchMessageA(&msg);
    }
    return {St().quitPending, std::nullopt};
}

// The flags the running version knows. 95 and NT 4.0 have alignment, buttons, notification and
// the returned command; 98, ME and 2000 add recursion and menu animation, XP right-to-left
// layout, 7 the work area.
UINT KnownTrackFlags() {
    const winsim::detail::VersionSeen version = winsim::detail::VersionNow();
    UINT known = TPM_RIGHTBUTTON | TPM_CENTERALIGN | TPM_RIGHTALIGN | TPM_VCENTERALIGN | TPM_BOTTOMALIGN |
                 TPM_VERTICAL | TPM_NONOTIFY | TPM_RETURNCMD;
    if (version.ntFamily ? version.AtLeast(5, 0) : version.AtLeast(4, 10)) {
        known |= TPM_RECURSE | TPM_HORPOSANIMATION | TPM_HORNEGANIMATION | TPM_VERPOSANIMATION |
                 TPM_VERNEGANIMATION | TPM_NOANIMATION;
    }
    if (version.ntFamily && version.AtLeast(5, 1)) known |= TPM_LAYOUTRTL;
    if (version.ntFamily && version.AtLeast(6, 1)) known |= TPM_WORKAREA;
    return known;
}

}  // namespace

BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int /*reserved*/, HWND owner,
                           const RECT* /*rect*/) {
    // Looked at before anything else: a flag the version does not know, and no menu shows.
    if (flags & ~KnownTrackFlags()) {
        SetLastError(ERROR_INVALID_FLAGS);
        return FALSE;
    }
    if (!FindMenu(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (!FindOrFail(owner)) return FALSE;
    bool notify = !(flags & TPM_NONOTIFY);
    if (notify) {
        Send(owner, WM_ENTERMENULOOP, TRUE, 0);
        Send(owner, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
        Send(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    }
    winsim::Tracking tracking;
    tracking.menu = menu;
    tracking.items = winsim::ReadMenu(menu);
    tracking.point = {x, y};
    tracking.flags = flags;
    tracking.owner = owner;
    tracking.foreground = Foreground();
    St().trackings.push_back(tracking);
    Ending ending = TakeQueued(menu);
    std::optional<UINT> chosen = ending.chosen;
    if (!ending.ended) {
        chosen = NextScript()(tracking);
        if (chosen && !Offers(menu, *chosen))
            throw std::invalid_argument("TrackPopupMenu script chose id " + std::to_string(*chosen) +
                                        ", which the menu does not offer");
    }
    if (notify && Find(owner)) {
        Send(owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        if (Find(owner)) Send(owner, WM_EXITMENULOOP, TRUE, 0);
    }
    // The loop succeeded whether or not something was chosen: only TPM_RETURNCMD tells which.
    SetLastError(ERROR_SUCCESS);
    if (flags & TPM_RETURNCMD) return chosen ? static_cast<BOOL>(*chosen) : 0;
    // The choice reaches the owner later, through its queue, as a menu's WM_COMMAND.
    if (chosen && Find(owner)) PostMessageA(owner, WM_COMMAND, MAKEWPARAM(*chosen, 0), 0);
    return TRUE;
}

namespace winsim {

void QueueTrackScript(TrackScript script) { ui::St().trackQueue.push_back(std::move(script)); }

void SetTrackScript(TrackScript script) { ui::St().standingTrackScript = std::move(script); }

const std::vector<Tracking>& Trackings() { return ui::St().trackings; }

}  // namespace winsim
