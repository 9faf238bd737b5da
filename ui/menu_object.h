#pragma once
// A menu as a tree of objects: a root MenuObject stands for a whole platform menu attached to a
// window, every entry is a MenuObject with a parent. Built from a text template; entries are
// addressed by position (the root is -1, then depth-first) or, from 4096 up, by command id.
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/runtime/string.h"
#include "platform/win32.h"
#include "ui/display_text.h"
#include "ui/event.h"
#include "ui/object_base.h"
#include "ui/object_list.h"
#include "ui/unique_handle.h"

namespace mvorbel {

class MenuObject;
class WindowObject;

// Texts in order, ended by "" (or a null entry) or by the end of the span.
using MenuTemplate = std::span<const char* const>;
// (data, root menu, position of the chosen entry)
using MenuCommandEvent = Event<MenuObject*, std::int32_t>;
// (data, menu)
using MenuPopupEvent = Event<MenuObject*>;

// Keys below this are positions, keys from it up are command ids.
inline constexpr std::uint32_t kFirstCommandId = 0x1000;
// Process-wide; every entry takes the next id, and ids are never reused.
extern std::int32_t nextCommandId;

class MenuObject : public ObjectBase {
public:
    void Dispose() override;

    // `decode` reads the template's texts: they are in the system's code page unless it says
    // otherwise.
    static MenuObject* BuildFromTemplate(WindowObject* window, MenuTemplate menuTemplate,
                                         MenuCommandEvent onCommand, TextDecoder decode = &WideFromSystemText);

    // Entry first + k gets events[k]; stops at the first key without an entry.
    void SetItemHandlers(std::int32_t firstKey, std::span<const MenuCommandEvent> events);
    void SetItemText(std::int32_t key, DisplayText value);
    void SetItemVisible(std::int32_t key, bool value);
    void SetItemChecked(std::int32_t key, bool value);
    // Moves a hidden owner window out of sight, shows it in the foreground and tracks the menu.
    void ShowPopupAt(LONG x, LONG y);
    void TrackAt(LONG x, LONG y);

    MenuObject* ItemAt(std::int32_t key);
    // -2 when the entry is not in this tree.
    std::int32_t PositionOf(const MenuObject* entry);
    std::int32_t CountAll() const;
    MenuObject* Root();

    void ChangeText(DisplayText value);
    void ChangeShown(bool value);
    bool TestState(UINT mask);
    void ChangeState(UINT mask, bool on);
    void CheckInGroup();
    void RedrawBar();
    void DetachItem(std::int32_t key);

    MenuObject* EntryAt(int index) const { return FromValue<MenuObject*>(entries->At(index)); }

    UniqueMenu menuHandle;
    std::int32_t commandId = 0;
    MenuObject* parentMenu = nullptr;
    WindowObject* ownerWindow = nullptr;
    // Owning: the next root menu attached to the same window.
    MenuObject* nextAttached = nullptr;
    std::int32_t checkGroup = 0;
    bool isToggle = false;
    bool isSeparator = false;
    ObjectList* entries = nullptr;
    MenuCommandEvent onCommand;
    MenuPopupEvent onBeforePopup;
    UINT trackFlags = 0;
    bool shown = false;
    // The entry's fState bits; what counts while the entry is hidden.
    UINT cachedState = 0;
    DisplayText text;

private:
    // The platform menu that holds this entry: the parent's, or a root's own.
    HMENU HoldingMenu() const;
    bool ReadState(MENUITEMINFOA& info) const;
};

// Reads template texts from `start` into `parent` and its platform menu; returns the index after
// the level (past its ")").
int ParseLevel(MenuObject* parent, HMENU parentMenu, int start, MenuTemplate menuTemplate, TextDecoder decode);

// Turns a menu's WM_COMMAND into the chosen entry's event.
bool MenuCommandHandler(WindowObject* window, MSG& message, LRESULT* result);

// cbSize for MENUITEMINFOA: the layout without hbmpItem on 95, NT 4.0 and older and unknown
// platforms, the whole record elsewhere.
UINT MenuItemInfoSize();
// 95 and NT 4.0 or older set an item's text through MIIM_TYPE, not MIIM_STRING.
bool HasOldMenuItemText();
// The popup's track flags as the running platform takes them: without the animation flags on
// 95, NT 4.0 and older and unknown platforms.
UINT TrackFlagsHere(UINT flags);

}  // namespace mvorbel
