#include "core/key_value.h"

#include <gtest/gtest.h>

namespace mvorbel {
namespace {

TEST(SplitKeyValue, SplitsAtTheFirstEqualsSignOrTrimsAWholeLine) {
    const struct {
        std::string line, key, value;
    } cases[] = {
        {"a=b=c", "a", "b=c"},
        {" default = x ", " default ", " x "},
        {"=", "", ""},
        {"  [operating systems] \t", "[operating systems]", ""},
        {std::string("\x01\x1f word\x20\x00", 9), "word", ""},
        {"\x7f" "word\xa0", "\x7f" "word\xa0", ""},  // only codes 0..32 are trimmed
        {" \t ", "", ""},
        {"a\nb=c", "a\nb", "c"},
    };
    for (const auto& c : cases) {
        KeyValue split = SplitKeyValue(c.line);
        EXPECT_EQ(c.key + "|" + c.value, split.key + "|" + split.value) << "line [" << c.line << "]";
    }
}

TEST(CaseFolding, ChangesOnlyAsciiLetters) {
    // "\xC0\xE0" is Cyrillic "Аа" in Windows-1251: neither letter changes.
    EXPECT_EQ("[operating systems] \xC0\xE0 09", LowerAscii("[OPERATING Systems] \xC0\xE0 09"));
    EXPECT_EQ("WINAMP.EXE \xC0\xE0 @[`{", UpperAscii("Winamp.exe \xC0\xE0 @[`{"));
}

}  // namespace
}  // namespace mvorbel
