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
    // The release builds, before any service pack, as the service pack reported is none.
    const DWORD kBuilds[][3] = {{4, 0, 1381},  {5, 0, 2195},  {5, 1, 2600}, {5, 2, 3790},
                                {6, 0, 6000},  {6, 1, 7600},  {6, 2, 9200}, {6, 3, 9600},
                                {10, 0, 10240}};
    for (const auto& [shippedMajor, shippedMinor, build] : kBuilds)
        if (major == shippedMajor && minor == shippedMinor) return build;
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

namespace detail {
bool NtVersionAtLeast(DWORD major, DWORD minor) {
    const auto& state = State();
    return NtFamily() && (state.major > major || (state.major == major && state.minor >= minor));
}
}  // namespace detail

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
