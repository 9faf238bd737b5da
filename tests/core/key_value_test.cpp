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
        {std::string("\x01\x1f [os]\x20\x00", 9), "[os]", ""},
        {"\x7f" "word\xa0", "\x7f" "word\xa0", ""},  // only codes 0..32 are trimmed
    };
    for (const auto& c : cases) {
        const KeyValue split = SplitKeyValue(c.line);
        EXPECT_EQ(c.key + "|" + c.value, split.key + "|" + split.value) << "[" << c.line << "]";
    }
}

}  // namespace
}  // namespace mvorbel
