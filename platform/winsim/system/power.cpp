#include <string>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/program_search.h"
#include "platform/winsim/system/system_control.h"

BOOL WINAPI ExitWindowsEx(UINT flags, DWORD reason) {
    if (winsim::detail::FailsNow("ExitWindowsEx")) return FALSE;
    winsim::detail::RecordRequest({"ExitWindowsEx", {std::to_string(flags), std::to_string(reason)}});
    bool endsTheSystem = (flags & (EWX_SHUTDOWN | EWX_REBOOT | EWX_POWEROFF)) != 0;
    if (winsim::NtFamily() && endsTheSystem && !winsim::PrivilegeEnabled(SE_SHUTDOWN_NAME)) {
        SetLastError(ERROR_PRIVILEGE_NOT_HELD);
        return FALSE;
    }
    return TRUE;
}

UINT WINAPI WinExec(LPCSTR commandLine, UINT showCommand) {
    if (auto error = winsim::detail::InjectedFailure("WinExec")) {
        SetLastError(*error);
        // WinExec reports its failure as its result, which is below 32.
        return *error < 32 ? static_cast<UINT>(*error) : 0;
    }
    winsim::detail::RecordRequest({"WinExec", {commandLine, std::to_string(showCommand)}});
    if (!winsim::detail::FindProgram(winsim::detail::ProgramOf(commandLine ? commandLine : ""))) {
        // WinExec tells only these two apart; its result is the error, below 32.
        const DWORD error = GetLastError() == ERROR_PATH_NOT_FOUND ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND;
        SetLastError(error);
        return error;
    }
    return 33;
}
