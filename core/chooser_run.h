#pragma once
// Start-up and the chooser run: the hidden Main window with its menus, then the Popup menu
// labelled from boot.ini and the Settings file, shown once at the mouse cursor.
#include "core/chooser_object.h"

namespace mvorbel {

// "А вы уверены, что у вас более одной ОС?\r\nФайл c:\boot.ini не обнаружен."
// (are you sure you have more than one OS? c:\boot.ini was not found), in Windows-1251.
inline constexpr const char* kNoBootFileNotice =
    "\xC0 \xE2\xFB \xF3\xE2\xE5\xF0\xE5\xED\xFB, \xF7\xF2\xEE \xF3 \xE2\xE0\xF1 \xE1\xEE\xEB\xE5\xE5 "
    "\xEE\xE4\xED\xEE\xE9 \xCE\xD1?\r\n\xD4\xE0\xE9\xEB c:\\boot.ini \xED\xE5 \xEE\xE1\xED\xE0\xF0\xF3\xE6\xE5\xED.";

// "А вы уверены, что у вас более одной ОС?\r\nХранилище загрузки Windows (BCD) не найдено."
// (are you sure you have more than one OS? the Windows boot store (BCD) was not found).
inline constexpr const char* kNoStoreNotice =
    "\xC0 \xE2\xFB \xF3\xE2\xE5\xF0\xE5\xED\xFB, \xF7\xF2\xEE \xF3 \xE2\xE0\xF1 \xE1\xEE\xEB\xE5\xE5 "
    "\xEE\xE4\xED\xEE\xE9 \xCE\xD1?\r\n\xD5\xF0\xE0\xED\xE8\xEB\xE8\xF9\xE5 \xE7\xE0\xE3\xF0\xF3\xE7\xEA\xE8 "
    "Windows (BCD) \xED\xE5 \xED\xE0\xE9\xE4\xE5\xED\xEE.";

// "Нет доступа к хранилищу загрузки Windows (BCD).\r\nЗапустите программу от имени администратора."
// (no access to the Windows boot store; run the program as administrator).
inline constexpr const char* kStoreDeniedNotice =
    "\xCD\xE5\xF2 \xE4\xEE\xF1\xF2\xF3\xEF\xE0 \xEA \xF5\xF0\xE0\xED\xE8\xEB\xE8\xF9\xF3 \xE7\xE0\xE3\xF0\xF3\xE7\xEA\xE8 "
    "Windows (BCD).\r\n\xC7\xE0\xEF\xF3\xF1\xF2\xE8\xF2\xE5 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xF3 \xEE\xF2 "
    "\xE8\xEC\xE5\xED\xE8 \xE0\xE4\xEC\xE8\xED\xE8\xF1\xF2\xF0\xE0\xF2\xEE\xF0\xE0.";

inline constexpr const char* kMainWindowCaption = "mVorbel";

// Creates the ChooserObject (stored in `chooser`), the Main window and both menus, binds the
// commands, then runs the chooser once.
void BuildMainWindow(ChooserObject*& chooser, WindowObject* parent);

// Reads the Settings file and the boot menu's entries (boot.ini, or the BCD store from Vista on), labels, checks and hides the items, shows the menu at
// the cursor, then posts the quit message. The chosen command runs later, from the loop.
void RunChooser(ChooserObject* chooser);

// Whether the platform's hibernation file is there (a non-empty file at the family's path).
bool HibernationFileFound();

}  // namespace mvorbel
