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

}  // namespace mvorbel
