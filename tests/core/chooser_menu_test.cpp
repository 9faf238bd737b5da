// The Popup menu's pure parts: item labels and where the hibernation file is looked for.
#include "core/chooser_menu.h"

#include <gtest/gtest.h>

#include <string>

namespace mvorbel {
namespace {

TEST(OsItemLabel, DoublesEveryAmpersandAndKeepsTheRest) {
    const std::string restartInto = "\xCF\xE5\xF0\xE5\xE7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xFC \xE2 ";  // "Перезагрузить в "
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"&&x&", "&&&&x&&"},
        {"\xD0\xE0\xE1\xEE\xF7\xE0\xFF &", "\xD0\xE0\xE1\xEE\xF7\xE0\xFF &&"},  // "Рабочая &"
    };
    for (const auto& [description, shownAs] : cases)
        EXPECT_EQ(OsItemLabel(description), restartInto + shownAs) << "description: " << description;
}

TEST(HibernationProbePath, FollowsTheFamily) {
    const struct {
        const char* systemDirectory;
        bool win9x;
        const char* path;
    } cases[] = {
        // The directory's own backslash stays: two in a row.
        {"C:\\Windows\\Sys\xC4\\", true, "c:\\windows\\sys\xC4\\\\vmmhiber.w9x"},
        {"D:\\WINNT\\system32\\", false, "d:\\hiberfil.sys"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HibernationProbePath(c.systemDirectory, c.win9x), c.path) << c.systemDirectory << " 9x " << c.win9x;
}

}  // namespace
}  // namespace mvorbel
