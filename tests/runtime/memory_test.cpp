#include "platform/runtime/memory.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"
#include "tests/support/process.h"

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

// Neither ever gives null: a refused block ends the program in the error box with exit code 1,
// shown even with a quit message pending, where it would close unseen.
TEST(Memory, ARefusedBlockEndsTheProgramInTheOutOfMemoryBox) {
    for (const char* refusing : {"HeapAlloc", "HeapReAlloc"}) {
        winsim::Reset();
        void* block = Allocate(1);
        PostQuitMessage(0);
        winsim::FailCall(refusing, 1, ERROR_NOT_ENOUGH_MEMORY);
        EXPECT_EQ("Out of memory.", testing::Raised([&] {
            Allocate(8);
            Reallocate(block, 8);
        })) << refusing;
        EXPECT_EQ(0u, winsim::LiveHeapBlockCount()) << "the process's end hands the heap back";
        EXPECT_EQ(0u, winsim::MessageBoxesCutShort()) << refusing;
    }
    winsim::Reset();
}

}  // namespace
}  // namespace mvorbel
