#include "core/chooser_menu.h"

#include <gtest/gtest.h>

#include "core/windows1251.h"
#include "platform/winsim/base/base_control.h"

namespace mvorbel {
namespace {

std::string Utf8(const WideString& wide) { return winsim::Utf8(wide.View()); }

// On a Western system: the program's own words read as written, the description in the system's
// code page as the loader's file was written there, and the platform, which takes a single "&"
// for an accelerator prefix, shows every "&" as itself.
TEST(OsItemLabel, ProgramWordsInCyrillicTheDescriptionInTheSystemsCodePageAmpersandsDoubled) {
    winsim::Reset();
    winsim::SetAnsiCodePage(1252);
    // "Перезагрузить в " (restart into)
    const std::string restartInto = "\xCF\xE5\xF0\xE5\xE7\xE0\xE3\xF0\xF3\xE7\xE8\xF2\xFC \xE2 ";
    const DisplayText label = OsItemLabel("&&Tom & J\xE9rry&");
    EXPECT_EQ(label.bytes, restartInto + "&&&&Tom && J\xE9rry&&");
    EXPECT_EQ(Utf8(label.wide), "Перезагрузить в &&&&Tom && Jérry&&");
    EXPECT_EQ(OsItemLabel("").bytes, restartInto);
    EXPECT_EQ(Utf8(OsItemLabel("").wide), "Перезагрузить в ");
}

// winsim's table is the one the contract tests hold against Windows' (Wine's).
TEST(WideFromWindows1251, ReadsEveryByteAsWindowsDoes) {
    winsim::Reset();
    std::string all;
    for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
    EXPECT_EQ(std::u16string(WideFromWindows1251(all).View()), winsim::FromCodePage(1251, all));
    EXPECT_EQ(ProgramText(all).bytes, all);
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
