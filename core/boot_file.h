#pragma once
// The boot loader's configuration file c:\boot.ini: its [operating systems] entries, its
// "default" line, and the rewrite of that line.
#include <cstdint>

#include "platform/runtime/string.h"

namespace mvorbel {

inline constexpr const char* kBootFilePath = "c:\\boot.ini";
inline constexpr const char* kBackupFilePath = "c:\\boot.old";
// The rewritten text, before it replaces boot.ini.
inline constexpr const char* kTemporaryFilePath = "c:\\36528945648732";
// On the 9x family, the old boot.ini while the new one takes its name.
inline constexpr const char* kBootAsidePath = "c:\\36528945648733";
// The backup copy, before it replaces c:\boot.old, and the old backup on the 9x family meanwhile.
inline constexpr const char* kFreshBackupPath = "c:\\36528945648734";
inline constexpr const char* kBackupAsidePath = "c:\\36528945648735";

// Fills chooserState's slots from the [operating systems] section. Raises InOutError.
void ReadOsEntries();
// The key that the first "default" line names (its value up to a line feed), or empty. Raises
// InOutError on open and close only.
String ReadDefaultKey();
// Makes boot.ini's "default" lines name the key of the given used slot (1..5), after a backup
// copy when the backup flag is set; when an entry with the same key comes before the slot's
// line, that line moves up to just before it, so that the loader starts the chosen one. True
// only when c:\boot.ini was replaced by the rewritten text and that text, read again, starts the
// slot's entry. Raises InOutError on opening the files and on closing them; other failures leave
// the file as it was, and no temporary file, and give false.
bool WriteDefaultKey(std::uint8_t slot);

}  // namespace mvorbel
