#include "core/chooser_run.h"

#include <span>

#include "core/boot_file.h"
#include "core/chooser_menu.h"
#include "core/chooser_state.h"
#include "core/menu_commands.h"
#include "core/platform_utils.h"
#include "core/power.h"
#include "core/settings.h"
#include "core/windows1251.h"
#include "platform/win32.h"
#include "ui/message_loop.h"

namespace mvorbel {

namespace {

constexpr LONG kMainWindowLeft = 205;
constexpr LONG kMainWindowTop = 98;
constexpr LONG kMainWindowWidth = 188;
constexpr LONG kMainWindowHeight = 127;
// TPM_HORNEGANIMATION: the menu unfolds from right to left, where the platform animates menus;
// left/top alignment at the point.
constexpr UINT kPopupTrackFlags = TPM_HORNEGANIMATION;

constexpr const char* kEmptyMenuTemplate[] = {""};

void BindItem(MenuObject* menu, std::int32_t item, MenuCommandEvent::Handler handler,
              ChooserObject* chooser) {
    const MenuCommandEvent event{handler, chooser};
    menu->SetItemHandlers(item, std::span(&event, 1));
}

// The item of slot n is item n - 1.
constexpr MenuCommandEvent::Handler kOsItemHandlers[kOsSlotCount] = {
    &OnChooseEntry<1>, &OnChooseEntry<2>, &OnChooseEntry<3>, &OnChooseEntry<4>, &OnChooseEntry<5>,
};

void ShowPowerItems(MenuObject* menu, bool hibernationFile) {
    menu->SetItemVisible(kShutdownSeparator, chooserState.shutdown);
    menu->SetItemVisible(kHibernateItem, chooserState.shutdown && hibernationFile);
    menu->SetItemVisible(kHibernateSeparator, chooserState.hibernate && hibernationFile);
    menu->SetItemVisible(kTurnOffItem, chooserState.hibernate);
    menu->SetItemVisible(kCancelSeparator, chooserState.cancel);
    menu->SetItemVisible(kCancelItem, chooserState.cancel);
}

// Nothing to choose from: the user is told why, and the program ends.
void QuitWithNotice(const char* notice) {
    ShowMessageBox(ProgramText(notice));
    PostQuitMessage(0);
}

}  // namespace

bool HibernationFileFound() {
    return FindFileSize(HibernationProbePath(SystemDirectory(), IsWin9xFamily()).c_str()) != 0;
}

void BuildMainWindow(ChooserObject*& chooser, WindowObject* parent) {
    chooser = NewObject<ChooserObject>();
    WindowObject* window = NewForm(parent, kMainWindowCaption);
    window->SetPosition(kMainWindowLeft, kMainWindowTop);
    window->SetSize(kMainWindowWidth, kMainWindowHeight);
    chooser->mainWindow = window;
    applicationWindow = window;
    window->AddOwned(chooser);
    window->SetVisible(false);

    // The window's first menu becomes its (never seen) menu bar and the head of its menu chain;
    // only because of it is the second one a popup menu.
    MenuObject::BuildFromTemplate(window, kEmptyMenuTemplate, {});
    MenuObject* popup = MenuObject::BuildFromTemplate(window, kMenuTemplate, {}, &WideFromWindows1251);
    chooser->popupMenu = popup;

    for (int item = kFirstOsItem; item <= kLastOsItem; ++item) {
        // Hidden until boot.ini names a system for the item's slot.
        popup->SetItemVisible(item, false);
        BindItem(popup, item, kOsItemHandlers[item], chooser);
    }
    BindItem(popup, kHibernateItem, &OnHibernate, chooser);
    BindItem(popup, kTurnOffItem, &OnTurnOff, chooser);
    BindItem(popup, kCancelItem, &OnCancel, chooser);
    popup->trackFlags = kPopupTrackFlags;
    window->SetContextMenu(popup);

    RunChooser(chooser);
}

void RunChooser(ChooserObject* chooser) {
    chooserState.source = HasBootManager() ? BootSource::kBcdStore : BootSource::kBootIni;
    if (chooserState.source == BootSource::kBootIni && !FileIsPresent(kBootFilePath)) {
        QuitWithNotice(kNoBootFileNotice);
        return;
    }
    chooserState.SetStartFlags();
    ReadSettings();
    const StoreRead read = ReadBootEntries();
    if (read != StoreRead::kRead) {
        QuitWithNotice(read == StoreRead::kDenied ? kStoreDeniedNotice : kNoStoreNotice);
        return;
    }
    MenuObject* menu = chooser->popupMenu;
    ShowOsEntries(menu);
    ShowPowerItems(menu, HibernationFileFound());

    POINT cursor = {};
    GetCursorPos(&cursor);
    chooserState.cursorX = cursor.x;
    chooserState.cursorY = cursor.y;
    menu->ShowPopupAt(cursor.x, cursor.y);
    PostQuitMessage(0);
}

}  // namespace mvorbel
