#pragma once
// Thin layers over the platform for the start of a run and the Settings file: the program's own
// path, whether a file is there, the system directory, and a plain message box.
#include <cstdint>
#include <string_view>

#include "platform/runtime/fatal_error.h"
#include "platform/runtime/string.h"
#include "platform/win32.h"
#include "ui/display_text.h"

namespace mvorbel {

// Index 0: the executable's full path as the platform reports it (empty when it can't).
// Index n >= 1: the nth parameter of the command line, outer quotes removed.
String GetParameter(int index);

// Parameter `index` of a command line by the runtime's rules: blanks (1..32) and pairs of
// adjacent quotes before a parameter are skipped; quotes open stretches in which blanks belong to
// the parameter; a result both starting and ending with a quote loses those two.
String CommandLineParameter(std::string_view commandLine, int index);

// True when the first match of the path is a file (not a directory) with a last-write time that
// fits a packed DOS date (1980-2107).
bool FileIsPresent(const char* path);

// The full size of the first match of a path or pattern; 0 when nothing matches. Both 32-bit
// words count, so a file of exactly 4 GiB is not taken for an empty one.
std::uint64_t FindFileSize(const char* path);

// The system directory ending in a backslash. When the platform won't tell, a name that can't
// exist ("|\"), so whatever is probed below it is not found.
String SystemDirectory();

String EnsureTrailingSeparator(String text, char separator);

// MB_OK box without owner, captioned like the application window when one is set (its caption
// read as that window's title is, in the system's code page).
void ShowMessageBox(const DisplayText& text);

}  // namespace mvorbel
