#pragma once
// What the fuzz targets share: a finding that stops the run with its reason, the text-file and
// key/value rules written again from their description (the targets check the product against
// these, never against its own parsing), and drive C: laid anew for every input.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32.h"
#include "platform/winsim/files/files_control.h"
#include "tests/support/process.h"
#include "tests/support/temp_folder.h"

namespace mvorbel::fuzz {

// A broken invariant is a finding like a crash: libFuzzer saves the input that led to it.
inline void Check(bool holds, const char* invariant, const std::string& detail) {
    if (holds) return;
    std::fprintf(stderr, "broken invariant: %s\n%s\n", invariant, detail.c_str());
    __builtin_trap();
}

// The bytes of a text as a C++ literal, for the messages.
inline std::string Shown(std::string_view text) {
    std::string shown = "\"";
    for (unsigned char c : text) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, c >= 32 && c < 127 && c != '"' && c != '\\' ? "%c" : "\\x%02X", c);
        shown += escaped;
    }
    return shown + "\"";
}

struct Line {
    std::string key, value, lowerKey;
};

// At the first "=", nothing trimmed; without one, all key, bytes 0..32 trimmed off both ends.
// Keys match in any case.
inline Line Split(std::string_view line) {
    Line split;
    if (auto equals = line.find('='); equals != line.npos) {
        split = {std::string(line.substr(0, equals)), std::string(line.substr(equals + 1))};
    } else {
        while (!line.empty() && static_cast<unsigned char>(line.front()) <= 32) line.remove_prefix(1);
        while (!line.empty() && static_cast<unsigned char>(line.back()) <= 32) line.remove_suffix(1);
        split.key = line;
    }
    for (char c : split.key) split.lowerKey += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return split;
}

// The lines a reader gets: the text ends at the first Ctrl-Z, each CR (with an LF right after
// it) ends a line, a lone LF is a character, and there is always at least one line.
inline std::vector<std::string> TextLines(std::string_view bytes) {
    const std::string_view text = bytes.substr(0, bytes.find('\x1A'));
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            lines.back() += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        if (i + 1 < text.size()) lines.emplace_back();
    }
    return lines;
}

// The key the first default line names: its value up to a line feed, where the loader ends it.
inline std::optional<std::string> DefaultKey(std::string_view text) {
    for (const std::string& line : TextLines(text)) {
        if (Line split = Split(line); split.lowerKey == "default") return split.value.substr(0, split.value.find('\n'));
    }
    return std::nullopt;
}

// The line after the first [operating systems] header that holds slot n (1..5), if there is one.
inline std::optional<std::size_t> SlotLine(const std::vector<std::string>& lines, int slot) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (Split(lines[i]).lowerKey != "[operating systems]") continue;
        if (i + std::size_t(slot) < lines.size()) return i + std::size_t(slot);
        return std::nullopt;
    }
    return std::nullopt;
}

// Drive C: on a host folder of this process's own, emptied for every input.
class DriveC {
 public:
    // The last input may have ended in ExitProcess, which took the chooser state's strings with
    // the heap: the state is made anew, so that its own destructor has nothing to free twice.
    ~DriveC() { new (&chooserState) ChooserState(); }
    // A new process on an empty drive C:.
    void Fresh() {
        testing::StartProcess();
        folder_.Empty();
        winsim::MapDrive('C', folder_.Path());
    }
    // Put from the host side, then given the attributes (0: as made).
    void Put(const std::string& name, std::string_view content, DWORD attributes = 0) {
        std::ofstream(folder_.Path() / name, std::ios::binary).write(content.data(), std::streamsize(content.size()));
        if (attributes != 0) SetFileAttributesA(("C:\\" + name).c_str(), attributes);
    }
    std::optional<std::string> Content(const std::string& name) const {
        std::ifstream file(folder_.Path() / name, std::ios::binary);
        if (!file) return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

 private:
    testing::TempFolder folder_{"mvorbel-fuzz"};
};

// The input's first bytes as numbers, zero past its end.
inline std::uint8_t Byte(std::string_view input, std::size_t at) {
    return at < input.size() ? std::uint8_t(input[at]) : 0;
}

}  // namespace mvorbel::fuzz
