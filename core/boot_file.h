#pragma once
// The boot loader's configuration file c:\boot.ini: its [operating systems] entries, its
// "default" line, and the rewrite of that line.
#include <cstdint>
#include <string_view>

#include "platform/runtime/string.h"

namespace mvorbel {

inline constexpr const char* kBootFilePath = "c:\\boot.ini";
inline constexpr const char* kBackupFilePath = "c:\\boot.old";
inline constexpr const char* kTemporaryFilePath = "c:\\36528945648732";

// Fills chooserState's slots from the [operating systems] section. Raises InOutError.
void ReadOsEntries();
// The value of the first "default" line, or empty. Raises InOutError on open and close only.
String ReadDefaultKey();
// Makes boot.ini's "default" lines name the key of the given used slot (1..5). True only when
// c:\boot.ini was replaced by the rewritten text and that text names the key. Raises InOutError
// on opening the files and on closing them; other failures leave the file as it was and give
// false.
bool WriteDefaultKey(std::uint8_t slot);

// The line as the rewrite writes it: a "default" line (any case) names newKey, keeping the
// line's own spelling of the key; every other line is returned unchanged.
String RewriteDefaultLine(std::string_view line, std::string_view newKey);

}  // namespace mvorbel
