#include "platform/runtime/number_text.h"

#include <gtest/gtest.h>

namespace mvorbel {
namespace {

TEST(NumberText, DecimalAndZeroPaddedUpperCaseHex) {
    EXPECT_EQ("0", Decimal(0).View());
    EXPECT_EQ("4294967295", Decimal(0xFFFFFFFF).View());
    EXPECT_EQ("0004A3B2C", Hex(0x4A3B2C, 9).View());
    EXPECT_EQ("ABCDEF", Hex(0xABCDEF, 2).View()) << "wider than asked";
    EXPECT_EQ(std::string(2 * sizeof(void*), '0'), Hex(0, 99).View()) << "at most a pointer's width";
    EXPECT_EQ(std::string(2 * sizeof(void*), 'F'), Hex(~std::uintptr_t{0}, 0).View());
}

}  // namespace
}  // namespace mvorbel
