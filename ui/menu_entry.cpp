// An entry's text, state and presence in its platform menu. A hidden entry is not in the platform
// menu at all; its object keeps text and state, and showing it inserts it again in template order.
// The text goes in through menu_item_text, in the form the running family shows.
#include <utility>

#include "ui/menu_item_text.h"
#include "ui/menu_object.h"
#include "ui/message_loop.h"
#include "ui/window_object.h"

namespace mvorbel {

HMENU MenuObject::HoldingMenu() const {
    return parentMenu != nullptr ? parentMenu->menuHandle.get() : menuHandle.get();
}

bool MenuObject::ReadState(MENUITEMINFOA& info) const {
    info = {};
    info.cbSize = MenuItemInfoSize();
    info.fMask = MIIM_STATE;
    return GetMenuItemInfoA(HoldingMenu(), static_cast<UINT>(commandId), FALSE, &info) != FALSE;
}

void MenuObject::ChangeText(DisplayText value) {
    text = std::move(value);
    MENUITEMINFOA info = {};
    info.cbSize = MenuItemInfoSize();
    if (HasOldMenuItemText()) {
        // The text goes in with the whole type: a radio entry must say so again.
        info.fMask = MIIM_TYPE;
        info.fType = MFT_STRING | (checkGroup != 0 ? MFT_RADIOCHECK : 0);
    } else {
        info.fMask = MIIM_STRING;
    }
    // Fails for a hidden entry; the stored text goes in when it is shown again.
    if (SetItemWithText(HoldingMenu(), static_cast<UINT>(commandId), FALSE, info, text)) RedrawBar();
}

bool MenuObject::TestState(UINT mask) {
    if (MENUITEMINFOA info; shown && ReadState(info)) cachedState = info.fState;
    return (cachedState & mask) != 0;
}

void MenuObject::ChangeState(UINT mask, bool on) {
    TestState(0);
    cachedState = on ? (cachedState | mask) : (cachedState & ~mask);
    if (!shown) return;
    MENUITEMINFOA info;
    if (!ReadState(info)) return;
    info.fState = cachedState;
    if (SetMenuItemInfoA(HoldingMenu(), static_cast<UINT>(commandId), FALSE, &info)) RedrawBar();
}

void MenuObject::ChangeShown(bool value) {
    if (value && parentMenu != nullptr) parentMenu->ChangeShown(true);
    if (value == shown) return;
    shown = value;
    if (ownerWindow != nullptr && ownerWindow->mainMenu == this) {
        SetMenu(ownerWindow->GetHandle(), value ? menuHandle.get() : nullptr);
        return;
    }
    if (commandId == 0 || parentMenu == nullptr) return;

    if (value) {
        // Before the next shown sibling, so that any order of hiding and showing keeps the
        // template's order.
        const MenuObject* before = nullptr;
        const ObjectList* siblings = parentMenu->entries;
        for (int i = siblings->Find(ToValue(this)) + 1; i < siblings->count && before == nullptr; ++i) {
            if (parentMenu->EntryAt(i)->shown) before = parentMenu->EntryAt(i);
        }
        MENUITEMINFOA info = {};
        info.cbSize = MenuItemInfoSize();
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_CHECKMARKS | MIIM_TYPE;
        info.fType = isSeparator ? MFT_SEPARATOR : MFT_STRING;
        if (checkGroup != 0) info.fType |= MFT_RADIOCHECK;
        info.fState = cachedState;
        info.wID = static_cast<UINT>(commandId);
        if (menuHandle) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = menuHandle.get();
        }
        const HMENU menu = parentMenu->menuHandle.get();
        if (before != nullptr) {
            InsertItemWithText(menu, static_cast<UINT>(before->commandId), FALSE, info, text);
        } else {
            InsertItemWithText(menu, 0xFFFFFFFF, TRUE, info, text);
        }
    } else {
        // From the menu that holds it: searched from the root, an entry whose submenu is itself
        // hidden would not be found, and showing it again would put it in twice.
        RemoveMenu(HoldingMenu(), static_cast<UINT>(commandId), MF_BYCOMMAND);
    }
    RedrawBar();
}

void MenuObject::CheckInGroup() {
    const int index = parentMenu != nullptr ? parentMenu->entries->Find(ToValue(this)) : -1;
    if (checkGroup == 0 || index < 0) {
        ChangeState(MFS_CHECKED, true);
        return;
    }
    const MenuObject* first = this;
    for (int i = index - 1; i >= 0; --i) {
        const MenuObject* sibling = parentMenu->EntryAt(i);
        if (sibling->checkGroup != checkGroup) break;
        if (sibling->shown) first = sibling;
    }
    const MenuObject* last = this;
    for (int i = index + 1; i < parentMenu->entries->count; ++i) {
        const MenuObject* sibling = parentMenu->EntryAt(i);
        if (sibling->checkGroup != checkGroup) break;
        if (sibling->shown) last = sibling;
    }
    if (first == last) {
        ChangeState(MFS_CHECKED, true);
        return;
    }
    // Flags 8 leave MF_BYPOSITION clear: the three values are command ids. The platform moves the
    // check itself; no cached state follows it.
    CheckMenuRadioItem(parentMenu->menuHandle.get(), static_cast<UINT>(first->commandId),
                       static_cast<UINT>(last->commandId), static_cast<UINT>(commandId), MF_CHECKED);
}

void MenuObject::RedrawBar() {
    MenuObject* root = Root();
    WindowObject* window = root->ownerWindow;
    if (!terminated && window != nullptr && window->mainMenu == root) DrawMenuBar(window->handle);
}

}  // namespace mvorbel
