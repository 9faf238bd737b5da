#pragma once
// A text the user reads, in the two forms the platform's calls take. The single-byte calls show
// bytes in the system's ANSI code page; they are what the 9x family has. The wide-character calls
// show UTF-16 as written whatever the code page; the NT family has them. Each text keeps both,
// and what shows it picks the form once, by family: no caller asks which.
#include <string_view>

#include "platform/runtime/string.h"
#include "platform/win32.h"

namespace mvorbel {

struct DisplayText {
    String bytes;     // as given; what the single-byte calls take
    WideString wide;  // the bytes read in the code page they were written in

    DisplayText& operator+=(const DisplayText& more);
};

// How a text's bytes become UTF-16.
using TextDecoder = WideString (*)(std::string_view bytes);

// Read in the system's ANSI code page (MultiByteToWideChar with CP_ACP): the UTF-16 of exactly
// what the single-byte calls would show of the bytes.
WideString WideFromSystemText(std::string_view bytes);

DisplayText MakeDisplayText(std::string_view bytes, TextDecoder decode = &WideFromSystemText);

// MessageBoxHoldingQuit with the form of the texts the running family shows; a null caption
// shows the platform's own ("Error").
int DisplayMessageBox(const DisplayText& text, const DisplayText* caption, UINT type);

}  // namespace mvorbel
