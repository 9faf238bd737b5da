#include <cctype>
#include <string>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/files/files.h"
#include "platform/winsim/system/paths_state.h"
#include "platform/winsim/system/system_control.h"

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The program is the first word of the command line, or the quoted part.
std::string ProgramOf(const std::string& commandLine) {
    if (!commandLine.empty() && commandLine[0] == '"')
        return commandLine.substr(1, commandLine.find('"', 1) - 1);
    return commandLine.substr(0, commandLine.find(' '));
}

bool IsFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Where CreateProcess looks: a program named with its folder there only, ".exe" added when the
// name has no extension; a bare name in the program's own folder, then the system's folders,
// which hold rundll32.exe on every Windows. 0 when found, else the error.
DWORD FindProgram(std::string program) {
    std::size_t nameAt = program.find_last_of("\\/:");
    std::string name = nameAt == std::string::npos ? program : program.substr(nameAt + 1);
    if (name.empty()) return ERROR_FILE_NOT_FOUND;
    if (name.find('.') == std::string::npos) {
        program += ".exe";
        name += ".exe";
    }
    if (nameAt != std::string::npos) {
        if (IsFile(program)) return 0;
        return GetLastError() == ERROR_PATH_NOT_FOUND ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND;
    }
    const auto& paths = winsim::detail::Paths();
    std::string ownFolder = paths.moduleFileName.substr(0, paths.moduleFileName.find_last_of('\\'));
    if (Lower(name) == "rundll32.exe" || IsFile(ownFolder + "\\" + name) ||
        IsFile(paths.systemDirectory + "\\" + name))
        return 0;
    return ERROR_FILE_NOT_FOUND;
}

}  // namespace

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
    if (DWORD error = FindProgram(ProgramOf(commandLine ? commandLine : ""))) {
        SetLastError(error);
        return error;
    }
    return 33;
}
