#pragma once
// The rewrite of boot.ini as text: the value of each "default" line changes, and the chosen
// entry's line may move up within its section. Every other byte stays as it was, the text after a
// Ctrl-Z included; only line ends may change (a lone CR, or a missing line end before the
// physical end or a Ctrl-Z, becomes CR LF).
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
    // Read again by the text-file rules, the rewritten file makes the loader start the chosen
    // entry: its first "default" line names newKey, and the chosen entry's line is the first line
    // of the section with that key.
    bool startsChosen = false;
};

// The whole file's bytes rewritten for the entry on the `position`-th line after the
// [operating systems] header (its slot number), whose key is newKey. The loader starts the first
// entry of the section with the default's key, so when a line with the same key comes before the
// chosen one, the chosen line moves up to just before the first such line.
RewrittenBootText RewriteBootText(std::string_view old, std::string_view newKey, int position);

// Whether a key, lower-cased, is "default"; "[operating systems]".
bool IsDefaultKey(std::string_view key);
bool IsOsSectionHeader(std::string_view key);

// The key that a "default" line's value names: the value up to its first line feed, where the
// loader ends it too (the rewrite replaces just that part).
std::string_view DefaultKeyOf(std::string_view value);

}  // namespace mvorbel
