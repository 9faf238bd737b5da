#include "core/power.h"

#include "platform/win32.h"

namespace mvorbel {

bool IsWin9xFamily() {
    OSVERSIONINFOA info = {sizeof info};
    // A refused call leaves the platform id at 0, which is not NT: the caller then takes the 9x
    // paths, which ask for no privilege and no forced request.
    GetVersionExA(&info);
    return info.dwPlatformId != VER_PLATFORM_WIN32_NT;
}

}  // namespace mvorbel
