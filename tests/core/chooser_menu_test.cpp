// The Popup menu's pure parts: item labels and where the hibernation file is looked for.
#include "core/chooser_menu.h"

#include <gtest/gtest.h>

#include <string>

namespace mvorbel {
namespace {

// "Перезагрузить в "
const std::string kRestartInto = "\xCF\xE5\xF0\xE5\xE7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xFC \xE2 ";

struct LabelCase {
    const char* description;
    const char* shownAs;
};

TEST(OsItemLabel, DoublesEveryAmpersandAndKeepsTheRest) {
    const LabelCase cases[] = {
        {"", ""},
        {"\"Windows XP\" /fastdetect", "\"Windows XP\" /fastdetect"},
        {"Tom & Jerry", "Tom && Jerry"},
        {"&", "&&"},
        {"&&x&", "&&&&x&&"},
        // "Рабочая" (working) in Windows-1251: the code page's letters pass as they are.
        {"\xD0\xE0\xE1\xEE\xF7\xE0\xFF &", "\xD0\xE0\xE1\xEE\xF7\xE0\xFF &&"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OsItemLabel(c.description), kRestartInto + c.shownAs) << "description: " << c.description;
    }
}

struct ProbeCase {
    const char* systemDirectory;
    bool win9x;
    const char* path;
};

TEST(HibernationProbePath, FollowsTheFamily) {
    const ProbeCase cases[] = {
        // The directory's own backslash stays: two in a row.
        {"C:\\WINDOWS\\SYSTEM\\", true, "c:\\windows\\system\\\\vmmhiber.w9x"},
        {"C:\\Windows\\Sys\xC4\\", true, "c:\\windows\\sys\xC4\\\\vmmhiber.w9x"},
        {"C:\\WINDOWS\\system32\\", false, "c:\\hiberfil.sys"},
        {"D:\\WINNT\\system32\\", false, "d:\\hiberfil.sys"},
        {"d:\\winnt\\", false, "d:\\hiberfil.sys"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HibernationProbePath(c.systemDirectory, c.win9x), c.path)
            << c.systemDirectory << (c.win9x ? " (9x)" : " (NT)");
    }
}

}  // namespace
}  // namespace mvorbel
