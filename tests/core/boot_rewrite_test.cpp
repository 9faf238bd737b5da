#include "core/boot_rewrite.h"

#include <gtest/gtest.h>

#include <string>

namespace mvorbel {
namespace {

// Only the value of a default line changes, up to a lone line feed; line ends become CR LF;
// what follows a Ctrl-Z stays byte for byte.
TEST(RewriteBootText, ChangesNothingButTheDefaultValue) {
    const struct {
        const char* what;
        std::string before, after;
        bool namesKey;
    } cases[] = {
        {"two default lines, one bare", "default\r\nx=1\rDEFAULT=old\r\n", "default=NEW\r\nx=1\r\nDEFAULT=NEW\r\n", true},
        {"blanked keys", " default=a\r\ndefault =b\r\n", " default=a\r\ndefault =b\r\n", false},
        {"blank after the equals sign", "default= a\r\n", "default=NEW\r\n", true},
        {"empty file", "", "\r\n", false},
        {"no line end at the end", "a=1\r\ndefault=b", "a=1\r\ndefault=NEW\r\n", true},
        {"a lone LF inside the default line", "default=a\ntimeout=30\r\nb=2\r\n",
         "default=NEW\ntimeout=30\r\nb=2\r\n", false},
        {"LF-only file is one line", "x=1\ndefault=a\n", "x=1\ndefault=a\n\r\n", false},
        {"the text after a Ctrl-Z", "default=a\r\n\x1A" "default=b\r\nrest", "default=NEW\r\n\x1A" "default=b\r\nrest",
         true},
        {"only a Ctrl-Z", "\x1A", "\r\n\x1A", false},
        {"NUL bytes", std::string("a\0b=1\r\ndefault=\0\r\n", 16), std::string("a\0b=1\r\ndefault=NEW\r\n", 20), true},
    };
    for (const auto& c : cases) {
        const RewrittenBootText rewrite = RewriteBootText(c.before, "NEW");
        EXPECT_EQ(c.after, rewrite.text.View()) << c.what;
        EXPECT_EQ(c.namesKey, rewrite.namesKey) << c.what;
    }
}

}  // namespace
}  // namespace mvorbel
