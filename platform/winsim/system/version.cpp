#include <cstring>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/area_state.h"
#include "platform/winsim/system/system_control.h"

namespace winsim {
namespace {

struct VersionState {
    DWORD platformId = VER_PLATFORM_WIN32_NT;
    DWORD major = 5;
    DWORD minor = 1;
    DWORD build = 2600;
};

VersionState& State() { return detail::AreaState<VersionState>(); }

DWORD ShippedBuild(DWORD platformId, DWORD major, DWORD minor) {
    if (platformId != VER_PLATFORM_WIN32_NT) {
        if (major == 4 && minor == 0) return 950;
        if (major == 4 && minor == 10) return 1998;
        if (major == 4 && minor == 90) return 3000;
        return 0;
    }
    if (major == 4) return 1381;
    if (major == 5 && minor == 0) return 2195;
    if (major == 5 && minor == 1) return 2600;
    if (major == 5 && minor == 2) return 3790;
    return 0;
}

}  // namespace

void SetVersion(DWORD platformId, DWORD major, DWORD minor, DWORD build) {
    State() = {platformId, major, minor, build != 0 ? build : ShippedBuild(platformId, major, minor)};
    detail::SetVersionProbe([] {
        const VersionState& seen = State();
        return detail::VersionSeen{seen.platformId == VER_PLATFORM_WIN32_NT, seen.major, seen.minor};
    });
}

bool NtFamily() { return State().platformId == VER_PLATFORM_WIN32_NT; }

}  // namespace winsim

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
    if (winsim::detail::FailsNow("GetVersionExA")) return FALSE;
    if (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA) &&
        info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOEXA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    const auto& state = winsim::State();
    info->dwMajorVersion = state.major;
    info->dwMinorVersion = state.minor;
    info->dwPlatformId = state.platformId;
    // The 9x family packs the version into the high word of the build number.
    info->dwBuildNumber = state.platformId == VER_PLATFORM_WIN32_NT
                              ? state.build
                              : static_cast<DWORD>(MAKELONG(state.build, MAKEWORD(state.minor, state.major)));
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    if (info->dwOSVersionInfoSize == sizeof(OSVERSIONINFOEXA)) {
        auto* extended = reinterpret_cast<OSVERSIONINFOEXA*>(info);
        extended->wServicePackMajor = 0;
        extended->wServicePackMinor = 0;
        extended->wSuiteMask = 0;
        extended->wProductType = state.platformId == VER_PLATFORM_WIN32_NT ? 1 : 0;
        extended->wReserved = 0;
    }
    return TRUE;
}
