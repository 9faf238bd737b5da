// A window's context menu, tracked where WM_CONTEXTMENU asks without moving or showing the window.
#include "ui/menu_object.h"
#include "ui/window_object.h"

namespace mvorbel {

void WindowObject::SetContextMenu(MenuObject* menu) {
    if (menu != nullptr) {
        const MenuObject* owned = menu;
        while (owned != nullptr && owned->ownerWindow == nullptr) owned = owned->parentMenu;
        if (owned != nullptr) menu->ownerWindow = owned->ownerWindow;
    }
    contextMenu = menu;
    AttachHandler(ContextMenuHandler);
}

bool ContextMenuHandler(WindowObject* window, MSG& message, LRESULT* result) {
    if (message.message != WM_CONTEXTMENU || window->contextMenu == nullptr) return false;
    // Each word is signed: monitors left of or above the primary one have negative coordinates,
    // and a context menu asked for from the keyboard comes as (-1, -1).
    const LONG x = static_cast<SHORT>(LOWORD(message.lParam));
    const LONG y = static_cast<SHORT>(HIWORD(message.lParam));
    window->contextMenu->TrackAt(x, y);
    *result = 0;
    return true;
}

}  // namespace mvorbel
