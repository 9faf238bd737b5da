#include "platform/runtime/memory.h"

#include <gtest/gtest.h>

namespace mvorbel {
namespace {

TEST(Memory, ByteOperationsAsTheCompilerExpectsThem) {
    char text[] = "abcdefgh";
    MemMove(text + 2, text, 5);  // forwards over itself
    EXPECT_STREQ("ababcdeh", text);
    MemMove(text, text + 3, 5);  // backwards over itself
    EXPECT_STREQ("bcdehdeh", text);
    MemFill(MemCopy(text, "XY", 2), '-', 1);
    EXPECT_STREQ("-Ydehdeh", text);

    const unsigned char high[] = {0x80}, low[] = {0x7F};
    EXPECT_GT(MemCompare(high, low, 1), 0) << "bytes compare unsigned";
    EXPECT_LT(MemCompare("abc", "abd", 3), 0);
    EXPECT_EQ(0, MemCompare("abc", "abd", 2));
    EXPECT_EQ(text + 3, MemFind(text, 'e', 8));
    EXPECT_EQ(nullptr, MemFind(text, 'e', 3));
    EXPECT_EQ(8u, TextLength(text));
    EXPECT_EQ(3u, BoundedTextLength("abc\0d", 5));
    EXPECT_EQ(2u, BoundedTextLength("abc", 2)) << "an unterminated buffer ends at its limit";
}

}  // namespace
}  // namespace mvorbel
