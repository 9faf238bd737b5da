#pragma once
// Putting a freshly written file in the place of another so that, at every step and whatever
// call fails, the old or the new text is there whole under the target's name or under a named
// file beside it, and the target's name is left holding one of them.
#include <string_view>

#include "platform/win32.h"

namespace mvorbel {

// Moves `fresh` over `target`. On the NT family one rename replaces it, write-through. The 9x
// family has no MoveFileExA: the target is renamed to `aside`, the fresh file takes its name and
// the old one is deleted; when the fresh one can't take the name, the old one is renamed back,
// and failing that the fresh, then the old text is copied in. True when the target now holds the
// fresh text. Whatever is left of `fresh` is the caller's to delete.
bool ReplaceFile(const char* fresh, const char* target, const char* aside);

// Writes `text` as a new file `fresh` (whatever was planted under that name goes first, so that
// nothing is written through it) with the given attributes, forced to disk. False when any step
// failed; the partial file is then gone.
bool WriteFreshFile(const char* fresh, std::string_view text, DWORD attributes);

}  // namespace mvorbel
