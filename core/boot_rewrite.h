#pragma once
// The rewrite of boot.ini as text: only the value of each "default" line changes. Every other byte
// stays as it was, the text after a Ctrl-Z included; only line ends may change (a lone CR, or a
// missing line end before the physical end or a Ctrl-Z, becomes CR LF).
#include <string_view>

#include "platform/runtime/string.h"

namespace mvorbel {

// The line (without its end) as the rewrite writes it. A "default" line (key in any case) names
// newKey: with "=", its value up to the first line feed is replaced and whatever follows that
// line feed stays, a hand edit with another editor's line ends; without "=", it becomes the key
// as the split gave it, "=" and newKey. Every other line is returned unchanged.
String RewriteDefaultLine(std::string_view line, std::string_view newKey);

struct RewrittenBootText {
    String text;
    // The rewritten file, read by the text-file rules, has a "default" line and its value is
    // newKey exactly.
    bool namesKey = false;
};

// The whole file's bytes rewritten.
RewrittenBootText RewriteBootText(std::string_view old, std::string_view newKey);

// Whether a key, lower-cased, is "default".
bool IsDefaultKey(std::string_view key);

}  // namespace mvorbel
