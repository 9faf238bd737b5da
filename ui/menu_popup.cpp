// Popping a menu up and turning the chosen entry's WM_COMMAND into its event.
#include "ui/menu_object.h"
#include "ui/message_loop.h"
#include "ui/window_object.h"

namespace mvorbel {

namespace {

// Below the screen of any display less than this tall: the owner is "shown" but not seen.
constexpr LONG kOutOfSightTop = 2050;

}  // namespace

void MenuObject::TrackAt(LONG x, LONG y) {
    if (onBeforePopup.HasHandler()) onBeforePopup(this);
    // Without TPM_RETURNCMD the chosen entry arrives later, as WM_COMMAND to the owner.
    TrackPopupMenu(menuHandle.get(), TrackFlagsHere(trackFlags), x, y, 0, ownerWindow->handle, nullptr);
}

void MenuObject::ShowPopupAt(LONG x, LONG y) {
    WindowObject* owner = ownerWindow;
    bool ownerWasVisible = true;
    RECT saved = {};
    if (owner != nullptr) {
        saved = owner->GetBoundsRect();
        if (!owner->isControl) {
            ownerWasVisible = owner->GetVisible();
            if (!ownerWasVisible) owner->SetTop(kOutOfSightTop);
            // A popup whose owner is not the foreground window does not close when the user
            // clicks elsewhere or presses Escape.
            owner->ShowInForeground();
        }
    }
    ProcessMessage(owner);
    TrackAt(x, y);
    if (owner != nullptr && owner->GetTop() == kOutOfSightTop) {
        if (!ownerWasVisible) owner->SetVisible(false);
        owner->SetBoundsRect(saved);
    }
}

bool MenuCommandHandler(WindowObject* window, MSG& message, LRESULT* result) {
    // High word 0: from a menu, 1: from an accelerator; menu commands carry no window.
    if (message.message != WM_COMMAND || message.lParam != 0 || HIWORD(message.wParam) > 1) return false;
    const std::int32_t key = LOWORD(message.wParam);
    for (MenuObject* root = window->mainMenu; root != nullptr; root = root->nextAttached) {
        MenuObject* entry = root->ItemAt(key);
        if (entry == nullptr) continue;
        *result = 0;
        const std::int32_t position = root->PositionOf(entry);
        if (entry->checkGroup != 0) {
            entry->CheckInGroup();
        } else if (entry->isToggle) {
            entry->ChangeState(MFS_CHECKED, !entry->TestState(MFS_CHECKED));
        }
        if (entry->onCommand.HasHandler()) {
            entry->onCommand(root, position);
        } else if (root->onCommand.HasHandler()) {
            root->onCommand(root, position);
        }
        return true;
    }
    return false;
}

}  // namespace mvorbel
