// WoW64: IsWow64Process, and the redirection of the system folder's names for a 32-bit process
// on 64-bit Windows. The redirection of <windows>\lastgood\system32 and <windows>\regedit.exe is
// left out: nothing here reaches them.
#include "platform/winsim/files/file_system.h"
#include "platform/winsim/system/area_state.h"
#include "platform/winsim/system/names.h"
#include "platform/winsim/system/paths_state.h"
#include "platform/winsim/system/process_table.h"

namespace winsim {
namespace {

struct Wow64State {
    bool wow64 = false;
};
Wow64State& State() { return detail::AreaState<Wow64State>(); }

bool Same(const std::string& a, const std::string& b) { return detail::Lower(a) == detail::Lower(b); }

// Folders of system32 that a 32-bit process sees as they are: names[below] is the first name
// inside system32. Vista still redirected driverstore.
bool Exempt(const std::vector<std::string>& names, std::size_t below) {
    if (names.size() <= below) return false;
    const std::string first = detail::Lower(names[below]);
    if (first == "catroot" || first == "catroot2" || first == "logfiles" || first == "spool") return true;
    if (first == "driverstore") return detail::NtVersionAtLeast(6, 1);
    return first == "drivers" && names.size() > below + 1 && Same(names[below + 1], "etc");
}

void Redirect(char drive, std::vector<std::string>& names) {
    if (!State().wow64) return;
    const std::string& system = detail::Paths().systemDirectory;
    if (system.size() < 4 || system[1] != ':' || (system[0] & ~0x20) != drive) return;
    // The system directory's names after its drive: the windows folder's, then its own.
    std::vector<std::string> systemNames;
    for (std::size_t start = 3; start <= system.size();) {
        std::size_t end = std::min(system.find('\\', start), system.size());
        systemNames.push_back(system.substr(start, end - start));
        start = end + 1;
    }
    const std::size_t at = systemNames.size() - 1;
    if (names.size() <= at) return;
    for (std::size_t i = 0; i < at; ++i)
        if (!Same(names[i], systemNames[i])) return;
    if (Same(names[at], systemNames[at])) {
        if (!Exempt(names, at + 1)) names[at] = "SysWOW64";
    } else if (Same(names[at], "Sysnative") && detail::NtVersionAtLeast(6, 0)) {
        // An alias, not a folder: the way a 32-bit process reaches the real system32.
        names[at] = systemNames[at];
    }
}

}  // namespace

void SetWow64(bool wow64) {
    State().wow64 = wow64;
    fs::SetRedirection(wow64 ? &Redirect : nullptr);
}

}  // namespace winsim

BOOL WINAPI IsWow64Process(HANDLE process, PBOOL wow64Process) {
    if (winsim::detail::FailsNow("IsWow64Process")) return FALSE;
    if (process == GetCurrentProcess()) {
        *wow64Process = winsim::State().wow64;
        return TRUE;
    }
    auto object = winsim::FindHandleOf<winsim::detail::ProcessObject>(process);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if ((object->access & (PROCESS_QUERY_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION)) == 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    // Other processes are taken for native ones.
    *wow64Process = FALSE;
    return TRUE;
}
