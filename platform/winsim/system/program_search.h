#pragma once
// Where WinExec and CreateProcessA find the program of a command line. Internal to winsim.
#include <optional>
#include <string>

namespace winsim::detail {

// The program is the first word of the command line, or the quoted part at its start.
std::string ProgramOf(const std::string& commandLine);
// A program named with its folder is looked for there only, ".exe" added when the name has no
// extension; a bare name in the program's own folder, then the system's folder. The image's path
// as spelled on its drive, or nothing with the error set (ERROR_FILE_NOT_FOUND,
// ERROR_PATH_NOT_FOUND).
std::optional<std::string> FindProgram(std::string program);
// An image named exactly: its path as spelled on its drive, or nothing with the error set.
std::optional<std::string> ImageAt(const std::string& path);

}  // namespace winsim::detail
