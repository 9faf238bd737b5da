#pragma once
// Which menu record the running platform understands, from GetVersionExA's answer.
#include "platform/win32.h"

namespace mvorbel {

enum class MenuPlatform { Windows95, Windows98Me, NT4OrOlder, Windows2000, XPOrLater, Unrecognised };

MenuPlatform ClassifyMenuPlatform(DWORD platformId, DWORD majorVersion, DWORD minorVersion);
// Asked afresh on every call.
MenuPlatform CurrentMenuPlatform();

}  // namespace mvorbel
