#pragma once
// File and module names as the system compares them: without regard to the case of A-Z.
#include <string>

namespace winsim::detail {

inline std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The last component of a path.
inline std::string FileNameOf(const std::string& path) { return path.substr(path.find_last_of("\\/:") + 1); }

}  // namespace winsim::detail
