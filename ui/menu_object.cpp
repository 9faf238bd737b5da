// Building a menu from its template, finding entries, and the end of a menu.
#include "ui/menu_object.h"

#include <utility>

#include "ui/menu_item_text.h"
#include "ui/menu_template.h"
#include "ui/window_object.h"

namespace mvorbel {

std::int32_t nextCommandId = static_cast<std::int32_t>(kFirstCommandId);

namespace {

MenuObject* NewMenuNode(MenuObject* parent) {
    MenuObject* menu = NewObject<MenuObject>();
    menu->shown = true;
    menu->parentMenu = parent;
    menu->entries = NewObjectList();
    return menu;
}

// The item data marks toggles and radio entries as the original menus did.
constexpr ULONG_PTR kToggleItemData = 0x40000000;
constexpr ULONG_PTR kRadioItemData = 0x80000000;

}  // namespace

MenuObject* MenuObject::BuildFromTemplate(WindowObject* window, MenuTemplate menuTemplate,
                                          MenuCommandEvent onCommand, TextDecoder decode) {
    MenuObject* menu = NewMenuNode(nullptr);
    menu->trackFlags = 0;
    menu->onCommand = onCommand;
    if (!menuTemplate.empty() && menuTemplate[0] != nullptr) {
        // Only the first menu of a top-level window is a menu bar; every later one pops up.
        const bool menuBar = window != nullptr && window->mainMenu == nullptr && !window->isControl;
        menu->menuHandle.reset(menuBar ? CreateMenu() : CreatePopupMenu());
        ParseLevel(menu, menu->menuHandle.get(), 0, menuTemplate, decode);
    }
    if (window == nullptr) return menu;
    menu->ownerWindow = window;
    if (window->mainMenu != nullptr) {
        MenuObject* last = window->mainMenu;
        while (last->nextAttached != nullptr) last = last->nextAttached;
        last->nextAttached = menu;
        return menu;
    }
    if (!window->isControl) window->SetMenuHandle(menu->menuHandle.get());
    window->mainMenu = menu;
    window->AttachHandler(MenuCommandHandler);
    return menu;
}

int ParseLevel(MenuObject* parent, HMENU parentMenu, int start, MenuTemplate menuTemplate, TextDecoder decode) {
    const int last = static_cast<int>(menuTemplate.size()) - 1;
    MenuObject* previous = nullptr;
    int i = start;
    while (i <= last) {
        const TemplateText read = ReadTemplateText(menuTemplate[i]);
        if (read.kind == TemplateText::Kind::End) return i;
        if (read.kind == TemplateText::Kind::EndLevel) return i + 1;

        MenuObject* entry = NewMenuNode(parent);
        parent->entries->Append(ToValue(entry));
        MENUITEMINFOA info = {};
        info.cbSize = MenuItemInfoSize();
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE | MIIM_DATA;
        if (read.kind == TemplateText::Kind::Separator) {
            entry->isSeparator = true;
            info.fType = MFT_SEPARATOR;
            info.fState = MFS_GRAYED;
        } else {
            if (read.isToggle) {
                entry->isToggle = true;
                info.dwItemData = kToggleItemData;
                if (read.checked) info.fState |= MFS_CHECKED;
            }
            if (read.isRadio) {
                info.fType |= MFT_RADIOCHECK;
                info.dwItemData += kRadioItemData;
                entry->checkGroup = RadioGroup(previous != nullptr ? previous->checkGroup : 0, read.newGroup);
            }
            entry->text = MakeDisplayText(read.text, decode);
        }
        // What counts while the entry is hidden, the template's check included.
        entry->cachedState = info.fState;
        entry->commandId = nextCommandId++;
        info.wID = static_cast<UINT>(entry->commandId);
        if (i + 1 <= last && OpensLevel(menuTemplate[i + 1])) entry->menuHandle.reset(CreatePopupMenu());
        info.hSubMenu = entry->menuHandle.get();
        InsertItemWithText(parentMenu, 0xFFFFFFFF, TRUE, info, entry->text);

        i = entry->menuHandle ? ParseLevel(entry, entry->menuHandle.get(), i + 2, menuTemplate, decode) : i + 1;
        previous = entry;
    }
    return i;
}

namespace {

// Depth-first from the root at -1; counter ends at the position of the match.
MenuObject* FindByKey(MenuObject* node, std::int32_t key, std::int32_t& counter) {
    if (key == counter ||
        (static_cast<std::uint32_t>(key) >= kFirstCommandId && static_cast<std::uint32_t>(key) ==
                                                                   static_cast<std::uint32_t>(node->commandId))) {
        return node;
    }
    for (int i = 0; i < node->entries->count; ++i) {
        ++counter;
        if (MenuObject* found = FindByKey(node->EntryAt(i), key, counter)) return found;
    }
    return nullptr;
}

bool FindEntry(const MenuObject* node, const MenuObject* entry, std::int32_t& counter) {
    if (node == entry) return true;
    for (int i = 0; i < node->entries->count; ++i) {
        ++counter;
        if (FindEntry(node->EntryAt(i), entry, counter)) return true;
    }
    return false;
}

}  // namespace

MenuObject* MenuObject::ItemAt(std::int32_t key) {
    std::int32_t counter = -1;
    return FindByKey(this, key, counter);
}

std::int32_t MenuObject::PositionOf(const MenuObject* entry) {
    std::int32_t counter = -1;
    return FindEntry(this, entry, counter) ? counter : -2;
}

std::int32_t MenuObject::CountAll() const {
    std::int32_t total = entries->count;
    for (int i = 0; i < entries->count; ++i) total += EntryAt(i)->CountAll();
    return total;
}

MenuObject* MenuObject::Root() {
    MenuObject* root = this;
    while (root->parentMenu != nullptr) root = root->parentMenu;
    return root;
}

void MenuObject::SetItemHandlers(std::int32_t firstKey, std::span<const MenuCommandEvent> events) {
    for (std::size_t k = 0; k < events.size(); ++k) {
        MenuObject* entry = ItemAt(firstKey + static_cast<std::int32_t>(k));
        if (entry == nullptr) return;
        entry->onCommand = events[k];
    }
}

void MenuObject::SetItemText(std::int32_t key, DisplayText value) {
    if (MenuObject* entry = ItemAt(key)) entry->ChangeText(std::move(value));
}

void MenuObject::SetItemVisible(std::int32_t key, bool value) {
    if (MenuObject* entry = ItemAt(key)) entry->ChangeShown(value);
}

void MenuObject::SetItemChecked(std::int32_t key, bool value) {
    if (MenuObject* entry = ItemAt(key)) entry->ChangeState(MFS_CHECKED, value);
}

void MenuObject::DetachItem(std::int32_t key) {
    MenuObject* entry = ItemAt(key);
    if (entry == nullptr) return;
    RemoveMenu(menuHandle.get(), static_cast<UINT>(entry->commandId), MF_BYCOMMAND);
    RedrawBar();
}

void MenuObject::Dispose() {
    if (CountAll() > 0) {
        // Each entry detaches itself from this menu as it goes.
        ObjectList::ReleaseItemsAndSelf(entries);
        entries = NewObjectList();
    }
    if (parentMenu != nullptr) {
        MenuObject* parent = std::exchange(parentMenu, nullptr);
        parent->DetachItem(commandId);
        parent->entries->RemoveValue(ToValue(this));
    }
    if (ownerWindow != nullptr && menuHandle && menuHandle.get() == ownerWindow->mainMenuHandle) {
        // Destroying a window destroys its menu bar too; take ours off first.
        if (ownerWindow->handle != nullptr) SetMenu(ownerWindow->handle, nullptr);
        ownerWindow->mainMenuHandle = nullptr;
        for (MenuObject* menu = ownerWindow->mainMenu; menu != nullptr; menu = menu->nextAttached) {
            if (menu->nextAttached == this) {
                menu->nextAttached = nextAttached;
                break;
            }
        }
    }
    MenuObject* next = nextAttached;
    menuHandle.reset();
    text = {};
    ObjectBase::Release(std::exchange(entries, nullptr));
    ObjectBase::Dispose();
    ObjectBase::Release(next);
}

}  // namespace mvorbel
