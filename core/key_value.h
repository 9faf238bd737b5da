#pragma once
// Splitting a text line into key and value, and the ASCII-only case folding that keys and
// process image names are compared with.
#include <string_view>

#include "platform/runtime/string.h"

namespace mvorbel {

struct KeyValue {
    String key;
    String value;
};

// Splits at the first "=" (nothing trimmed); a line without "=" is all key, trimmed of
// characters 0..32 at both ends, with an empty value.
KeyValue SplitKeyValue(std::string_view line);

// Only A-Z (resp. a-z) change; bytes of the code page's other letters stay as they are.
String LowerAscii(std::string_view text);
String UpperAscii(std::string_view text);

// What follows the last '\' of a path (the whole text when it has none): tool-help names a
// process's image by its full path on the 9x family and by its file name on NT.
std::string_view FileNamePart(std::string_view path);

}  // namespace mvorbel
