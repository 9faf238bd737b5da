#pragma once
// Changes to the BCD store, made by Windows' own bcdedit.exe: it keeps the store and the
// firmware's boot entries in step, and the store's registry view refuses writes even to
// administrators. Only GUIDs go on its command line, and its output is never read: it is
// translated into the system's language. Whether a change took is read back from the store.
#include <string_view>

#include "platform/runtime/string.h"

namespace mvorbel {

// How long bcdedit may take before the change counts as failed. A bcdedit that hangs is left
// running rather than killed halfway through a change to the store.
inline constexpr unsigned long kBcdeditTimeLimitMs = 30000;

// The folder of the system's own 64-bit programs as this process can reach it: the system
// directory (ending in a backslash), or, for a 32-bit process on 64-bit Windows, whose
// system32 is redirected to SysWOW64 where no bcdedit lives, the Windows folder's Sysnative.
String NativeSystemFolder(std::string_view systemDirectory, bool wow64);

// `"<folder>bcdedit.exe" <option> <guid>`.
String BcdeditCommandLine(std::string_view bcdedit, const char* option, std::string_view guid);

// Makes the entry the default / the entry of the next start only; true when the store, read
// again afterwards, names it so.
bool SetBcdDefault(std::string_view guid);
bool SetBcdBootSequence(std::string_view guid);

}  // namespace mvorbel
