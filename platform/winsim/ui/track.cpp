// TrackPopupMenu: the user's part is played by a script the test supplies.
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

}  // namespace

BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int /*reserved*/, HWND owner,
                           const RECT* /*rect*/) {
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
    auto script = NextScript();
    std::optional<UINT> chosen = script(tracking);
    if (chosen && !Offers(menu, *chosen))
        throw std::invalid_argument("TrackPopupMenu script chose id " + std::to_string(*chosen) +
                                    ", which the menu does not offer");
    if (notify && Find(owner)) {
        Send(owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        if (Find(owner)) Send(owner, WM_EXITMENULOOP, TRUE, 0);
    }
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
