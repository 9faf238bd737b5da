#include "platform/runtime/string.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"

namespace mvorbel {
namespace {

// Every block a string held is handed back once the strings are gone.
TEST(String, HoldsAnyBytesGrowsWithoutLimitAndCopiesOwnTheirText) {
    winsim::Reset();
    {
        String null(static_cast<const char*>(nullptr));
        EXPECT_STREQ("", null.c_str());
        EXPECT_EQ(0u, winsim::LiveHeapBlockCount()) << "an empty string holds no block";
        String line;
        for (int i = 0; i < 100000; ++i) line += static_cast<char>('a' + i % 26);
        EXPECT_EQ(100000u, line.size());
        EXPECT_EQ('\0', line.c_str()[line.size()]);
        String bytes(std::string_view("a\0\xE9", 3));
        EXPECT_EQ(std::string_view("a\0\xE9", 3), bytes) << "zero and high bytes are text like any other";

        String self = "abc";
        self += self;
        self += std::string_view(self).substr(1, 2);
        EXPECT_EQ("abcabcbc", self) << "appending a view of itself";
        self.Truncate(2);
        EXPECT_EQ("ab", self);

        String copy = self;
        copy += "!";
        EXPECT_EQ("ab", self);
        String moved = std::move(copy);
        EXPECT_TRUE(copy.empty());
        self = moved;
        moved = std::move(self);
        moved = moved;
        EXPECT_EQ("ab!", moved);
    }
    EXPECT_EQ(0u, winsim::LiveHeapBlockCount());
}

TEST(Slice, ClampsWhereSubstrWouldRaise) {
    const struct {
        std::size_t position, count;
        std::string_view slice;
    } cases[] = {{0, 2, "ab"}, {1, std::string_view::npos, "bcd"}, {4, 1, ""}, {9, 1, ""}, {2, 9, "cd"}};
    for (const auto& c : cases) EXPECT_EQ(c.slice, Slice("abcd", c.position, c.count)) << c.position << "," << c.count;
}

}  // namespace
}  // namespace mvorbel
