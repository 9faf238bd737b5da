#include "platform/winsim/system/program_search.h"

#include "platform/winsim/files/file_system.h"
#include "platform/winsim/system/names.h"
#include "platform/winsim/system/paths_state.h"

namespace winsim::detail {

std::string ProgramOf(const std::string& commandLine) {
    if (!commandLine.empty() && commandLine[0] == '"') return commandLine.substr(1, commandLine.find('"', 1) - 1);
    return commandLine.substr(0, commandLine.find(' '));
}

std::optional<std::string> ImageAt(const std::string& path) {
    auto at = fs::Resolve(path.c_str());
    if (!at) return std::nullopt;
    if (!at->exists || at->isRoot) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return std::nullopt;
    }
    if (at->isDirectory) {
        SetLastError(ERROR_ACCESS_DENIED);
        return std::nullopt;
    }
    return at->windowsPath;
}

std::optional<std::string> FindProgram(std::string program) {
    std::size_t nameAt = program.find_last_of("\\/:");
    std::string name = nameAt == std::string::npos ? program : program.substr(nameAt + 1);
    if (name.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return std::nullopt;
    }
    if (name.find('.') == std::string::npos) {
        program += ".exe";
        name += ".exe";
    }
    if (nameAt != std::string::npos) return ImageAt(program);
    const auto& paths = Paths();
    // Every Windows holds rundll32.exe in its system folder.
    if (Lower(name) == "rundll32.exe") return paths.systemDirectory + "\\" + name;
    const std::string ownFolder = paths.moduleFileName.substr(0, paths.moduleFileName.find_last_of('\\'));
    for (const auto& folder : {ownFolder, paths.systemDirectory})
        if (auto found = ImageAt(folder + "\\" + name)) return found;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return std::nullopt;
}

}  // namespace winsim::detail
