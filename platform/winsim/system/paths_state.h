#pragma once
// The executable's path, the command line and the system directory, shared by the module and
// environment calls.
#include <string>

namespace winsim::detail {

struct PathsState {
    std::string moduleFileName = "C:\\Program Files\\mVorbel\\mvorbel.exe";
    std::string commandLine = "\"C:\\Program Files\\mVorbel\\mvorbel.exe\"";
    std::string systemDirectory = "C:\\WINDOWS\\system32";
};

PathsState& Paths();

}  // namespace winsim::detail
