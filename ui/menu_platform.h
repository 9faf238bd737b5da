#pragma once
// Which menu record the running platform understands, from GetVersionExA's answer.
#include "platform/win32.h"

namespace mvorbel {

enum class MenuPlatform { Windows95, Windows98Me, NT4OrOlder, Windows2000, XPOrLater, Unrecognised };

MenuPlatform ClassifyMenuPlatform(DWORD platformId, DWORD majorVersion, DWORD minorVersion);
// Asked afresh on every call.
MenuPlatform CurrentMenuPlatform();

// The NT family, whose wide-character calls show a text as written whatever the system's code
// page. The 9x family has them only as stubs that fail (MessageBoxW aside).
bool HasWideCalls();

}  // namespace mvorbel
