#include "core/menu_commands.h"

#include "core/bcd_edit.h"
#include "core/boot_file.h"
#include "core/chooser_menu.h"
#include "core/chooser_state.h"
#include "core/platform_utils.h"
#include "core/power.h"
#include "core/windows1251.h"
#include "platform/win32.h"

namespace mvorbel {

ChooserObject* chooserObject = nullptr;

namespace {

// The menu that the Ctrl path re-opens is tracked while the quit message of the first run is
// still queued; the popup's single-message pump usually takes it and marks the application as
// ending, after which the window passes commands to no handler. So the command chosen there is
// taken off the queue here and handed to the menu's own command handling directly.
void CarryOutReopenedMenuCommand(ChooserObject* chooser) {
    WindowObject* window = chooser->mainWindow;
    MSG message = {};
    if (window == nullptr || window->handle == nullptr) return;
    if (!PeekMessageA(&message, window->handle, WM_COMMAND, WM_COMMAND, PM_REMOVE)) return;
    // A pending quit message comes out whatever the filter; the caller posts its own anyway.
    if (message.message != WM_COMMAND) return;
    LRESULT result = 0;
    MenuCommandHandler(window, message, &result);
}

}  // namespace

bool KeyHeld(int virtualKey) {
    // Widened with its sign, the high-order (down) bit fills the upper 16 bits; the toggle bit
    // does not count.
    const std::int32_t state = static_cast<SHORT>(GetKeyState(virtualKey));
    return (static_cast<std::uint32_t>(state) >> 16) != 0;
}

void ChooseEntry(ChooserObject* chooser, std::uint8_t slot) {
    // Taken before anything else: a message box reads keyboard messages of its own.
    const bool ctrl = CtrlHeld();
    const bool store = chooserState.source == BootSource::kBcdStore;
    const bool nextStartOnly = store && !ctrl && KeyHeld(VK_SHIFT);
    const String& key = chooserState.Slot(slot).key;
    const bool changed = !store ? WriteDefaultKey(slot) : nextStartOnly ? SetBcdBootSequence(key) : SetBcdDefault(key);
    if (!changed) ShowMessageBox(ProgramText(store ? kStoreChangeFailedNotice : kRewriteFailedNotice));
    if (ctrl) {
        // The change may have moved a line: the slots are read again with the labels, so that
        // a choice in the re-opened menu names the entry it shows.
        ReadBootEntries();
        ShowOsEntries(chooser->popupMenu);
        chooser->popupMenu->ShowPopupAt(chooserState.cursorX, chooserState.cursorY);
        CarryOutReopenedMenuCommand(chooser);
    } else if (changed) {
        // Restarting with the boot menu unchanged would start the system the user just left.
        TerminatePlayer();
        RestartSystem();
    }
    PostQuitMessage(0);
}

void OnHibernate(void*, MenuObject*, std::int32_t) {
    // Whether the suspend command started or not, the program quits.
    WinExec(kSuspendCommandLine, SW_HIDE);
    PostQuitMessage(0);
}

void OnTurnOff(void*, MenuObject*, std::int32_t) {
    TerminatePlayer();
    PowerOffSystem();
    PostQuitMessage(0);
}

void OnCancel(void*, MenuObject*, std::int32_t) { PostQuitMessage(0); }

}  // namespace mvorbel
