#include "ui/menu_platform.h"

#include <cstddef>

#include "ui/menu_object.h"

namespace mvorbel {

#if defined(_WIN32) && !defined(_WIN64)
static_assert(offsetof(MENUITEMINFOA, hbmpItem) == 44 && sizeof(MENUITEMINFOA) == 48,
              "the 32-bit menu record sizes 95/NT 4 and later versions expect");
#endif

MenuPlatform ClassifyMenuPlatform(DWORD platformId, DWORD majorVersion, DWORD minorVersion) {
    if (platformId == VER_PLATFORM_WIN32_NT) {
        if (majorVersion < 5) return MenuPlatform::NT4OrOlder;
        return minorVersion == 0 ? MenuPlatform::Windows2000 : MenuPlatform::XPOrLater;
    }
    if (platformId == VER_PLATFORM_WIN32_WINDOWS) {
        if (majorVersion > 4 || (majorVersion == 4 && minorVersion >= 10)) return MenuPlatform::Windows98Me;
        return MenuPlatform::Windows95;
    }
    return MenuPlatform::Unrecognised;
}

MenuPlatform CurrentMenuPlatform() {
    OSVERSIONINFOA info = {sizeof info};
    // A failed call leaves the platform id 0, which no family claims.
    GetVersionExA(&info);
    return ClassifyMenuPlatform(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

bool HasWideCalls() {
    switch (CurrentMenuPlatform()) {
        case MenuPlatform::NT4OrOlder:
        case MenuPlatform::Windows2000:
        case MenuPlatform::XPOrLater:
            return true;
        default:
            return false;
    }
}

UINT MenuItemInfoSize() {
    switch (CurrentMenuPlatform()) {
        case MenuPlatform::Windows95:
        case MenuPlatform::NT4OrOlder:
        case MenuPlatform::Unrecognised:
            // These reject a record that carries hbmpItem, the member 98 and 2000 added.
            return offsetof(MENUITEMINFOA, hbmpItem);
        default:
            return sizeof(MENUITEMINFOA);
    }
}

UINT TrackFlagsHere(UINT flags) {
    constexpr UINT kAnimation =
        TPM_HORPOSANIMATION | TPM_HORNEGANIMATION | TPM_VERPOSANIMATION | TPM_VERNEGANIMATION | TPM_NOANIMATION;
    switch (CurrentMenuPlatform()) {
        case MenuPlatform::Windows95:
        case MenuPlatform::NT4OrOlder:
        case MenuPlatform::Unrecognised:
            // Menu animation came with 98 and 2000. Later versions refuse the whole call, menu
            // and all, for a flag they don't know; these may do the same with the animation's.
            return flags & ~kAnimation;
        default:
            return flags;
    }
}

bool HasOldMenuItemText() {
    const MenuPlatform platform = CurrentMenuPlatform();
    return platform == MenuPlatform::Windows95 || platform == MenuPlatform::NT4OrOlder;
}

}  // namespace mvorbel
