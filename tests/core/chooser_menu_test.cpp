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

// On NT the file is on the system drive, not always C:; the 9x file is in the system directory,
// which already ends in a backslash.
TEST(HibernationProbePath, FollowsTheFamily) {
    EXPECT_EQ(HibernationProbePath("D:\\WINNT\\system32\\", false), "d:\\hiberfil.sys");
    EXPECT_EQ(HibernationProbePath("C:\\Windows\\System\\", true),
              "c:\\windows\\system\\\\vmmhiber.w9x");
}

}  // namespace
}  // namespace mvorbel
