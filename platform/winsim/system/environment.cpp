#include <cstring>

#include "platform/winsim/system/area_state.h"
#include "platform/winsim/system/paths_state.h"
#include "platform/winsim/system/system_control.h"

namespace winsim {

namespace detail {
PathsState& Paths() { return AreaState<PathsState>(); }
}  // namespace detail

void SetModuleFileName(const std::string& path) { detail::Paths().moduleFileName = path; }
void SetCommandLine(const std::string& commandLine) { detail::Paths().commandLine = commandLine; }
void SetSystemDirectory(const std::string& path) { detail::Paths().systemDirectory = path; }

}  // namespace winsim

LPSTR WINAPI GetCommandLineA() { return winsim::detail::Paths().commandLine.data(); }

UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size) {
    if (winsim::detail::FailsNow("GetSystemDirectoryA")) return 0;
    const std::string& directory = winsim::detail::Paths().systemDirectory;
    UINT length = static_cast<UINT>(directory.size());
    if (size <= length) return length + 1;
    std::memcpy(buffer, directory.c_str(), length + 1);
    return length;
}
