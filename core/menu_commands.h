#pragma once
// The commands of the Popup menu's items. Each one ends by posting the quit message.
#include <cstdint>

#include "core/chooser_object.h"
#include "platform/win32.h"
#include "ui/menu_object.h"

namespace mvorbel {

// "Не удалось изменить файл c:\boot.ini." (could not change c:\boot.ini), in Windows-1251.
inline constexpr const char* kRewriteFailedNotice =
    "\xCD\xE5 \xF3\xE4\xE0\xEB\xEE\xF1\xFC \xE8\xE7\xEC\xE5\xED\xE8\xF2\xFC \xF4\xE0\xE9\xEB c:\\boot.ini.";

// "Не удалось изменить хранилище загрузки Windows (BCD)." (could not change the Windows boot
// store), in Windows-1251.
inline constexpr const char* kStoreChangeFailedNotice =
    "\xCD\xE5 \xF3\xE4\xE0\xEB\xEE\xF1\xFC \xE8\xE7\xEC\xE5\xED\xE8\xF2\xFC \xF5\xF0\xE0\xED\xE8\xEB\xE8\xF9\xE5 "
    "\xE7\xE0\xE3\xF0\xF3\xE7\xEA\xE8 Windows (BCD).";

// "rundll32.exe powrprof.dll,SetSuspendState", started hidden.
inline constexpr const char* kSuspendCommandLine = "rundll32.exe powrprof.dll,SetSuspendState";

// Whether the key was down as of the last keyboard message the thread read.
bool KeyHeld(int virtualKey);
inline bool CtrlHeld() { return KeyHeld(VK_CONTROL); }

// Makes slot `slot` the boot default; then re-opens the menu (Ctrl held) or ends the player and
// restarts. With Shift held (and not Ctrl) the Boot Manager's entry starts at the next start
// only and the default stays; boot.ini has no such thing, and there Shift changes nothing.
void ChooseEntry(ChooserObject* chooser, std::uint8_t slot);

// Handlers as the menu calls them: (data = the ChooserObject, root menu, position).
template <std::uint8_t Slot>
void OnChooseEntry(void* data, MenuObject*, std::int32_t) {
    ChooseEntry(static_cast<ChooserObject*>(data), Slot);
}
void OnHibernate(void* data, MenuObject* menu, std::int32_t position);
void OnTurnOff(void* data, MenuObject* menu, std::int32_t position);
void OnCancel(void* data, MenuObject* menu, std::int32_t position);

}  // namespace mvorbel
