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

inline constexpr const char* kMainWindowCaption = "mVorbel";

// Creates the ChooserObject (stored in `chooser`), the Main window and both menus, binds the
// commands, then runs the chooser once.
void BuildMainWindow(ChooserObject*& chooser, WindowObject* parent);

// Reads the Settings file and boot.ini, labels, checks and hides the items, shows the menu at
// the cursor, then posts the quit message. The chosen command runs later, from the loop.
void RunChooser(ChooserObject* chooser);

// Whether the platform's hibernation file is there (a non-empty file at the family's path).
bool HibernationFileFound();

}  // namespace mvorbel
