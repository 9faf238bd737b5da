#pragma once
// The program's own texts are Windows-1251 bytes (Russian). On the NT family they are shown
// through the wide-character calls, read with a table of our own rather than with
// MultiByteToWideChar(1251, ...): that call needs code page 1251 installed, which a Western
// Windows need not have, and then the menu would read wrong exactly where this is for.
#include <string_view>

#include "platform/runtime/string.h"
#include "ui/display_text.h"

namespace mvorbel {

// Every byte has a character: 0x98, which 1251 leaves undefined, becomes U+0098, as Windows'
// own table has it.
WideString WideFromWindows1251(std::string_view bytes);

// One of the program's own texts, for either family's calls.
DisplayText ProgramText(std::string_view windows1251);

}  // namespace mvorbel
