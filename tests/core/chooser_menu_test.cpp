#include "core/chooser_menu.h"

#include <gtest/gtest.h>

namespace mvorbel {
namespace {

// The platform takes a single "&" for an accelerator prefix and would hide it.
TEST(OsItemLabel, DoublesEveryAmpersand) {
    // "Перезагрузить в " (restart into)
    const std::string restartInto = "\xCF\xE5\xF0\xE5\xE7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xFC \xE2 ";
    EXPECT_EQ(OsItemLabel("&&Tom & Jerry&"), restartInto + "&&&&Tom && Jerry&&");
    EXPECT_EQ(OsItemLabel(""), restartInto);
}

}  // namespace
}  // namespace mvorbel
