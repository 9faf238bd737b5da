// A Western Windows (ANSI code page 1252). The NT family shows the program's own words as written,
// through the wide-character calls, and a description in the system's code page, as the loader's
// file was written there. The 9x family shows the program's Windows-1251 bytes in its own letters.
// Each run chooses the first system of a boot.ini that names no default, so the rewrite fails
// and the notice comes; without boot.ini (a folder of that name is none) the other notice comes
// instead of the menu.
#include "tests/scenario/scenario_fixture.h"

namespace mvorbel::testing {
namespace {

struct WesternCase {
    const char* name;
    bool win9x;
    bool bootIni;
    std::vector<std::string> menu;  // UTF-8, "-" for a separator
    std::string box;                // the function and its text as the user reads it, in UTF-8
};

class WesternSystem : public Scenario, public ::testing::WithParamInterface<WesternCase> {};

TEST_P(WesternSystem, ShowsEveryTextAsTheFamilyCan) {
    const WesternCase& c = GetParam();
    winsim::SetAnsiCodePage(1252);
    if (c.win9x) winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    if (c.bootIni) {
        Put("c/boot.ini", "[operating systems]\r\n" + kKey1 + "=\"Windows XP \xC9" "dition & Familiale\"\r\n" +
                              kKey2 + "=\"Windows 2000\"\r\n");
    } else {
        std::filesystem::create_directories(host_ / "c" / "boot.ini");
    }
    Put("c/hiberfil.sys", "z");
    Put("c/WINDOWS/system32/vmmhiber.w9x", "z");
    winsim::QueueTrackScript([](const winsim::Tracking& tracking) -> std::optional<UINT> {
        return tracking.items.at(0).id;
    });

    EXPECT_EQ(RunProgram(), 0u);

    std::vector<std::string> menu;
    for (const auto& tracking : winsim::Trackings())
        for (const auto& line : tracking.items) menu.push_back(line.separator ? "-" : line.utf8);
    EXPECT_EQ(menu, c.menu);
    ASSERT_EQ(winsim::Requests().size(), 1u) << "one notice, no restart";
    const winsim::Request& box = winsim::Requests()[0];
    // MessageBoxA records the bytes it was given, which the user reads in the system's code page.
    const std::string text =
        box.call == "MessageBoxA" ? winsim::Utf8(winsim::FromCodePage(CP_ACP, box.args.at(1))) : box.args.at(1);
    EXPECT_EQ(box.call + ": " + text, c.box);
    EXPECT_EQ(box.args.at(2), "mVorbel");
}

INSTANTIATE_TEST_SUITE_P(
    Scenario, WesternSystem,
    ::testing::Values(
        WesternCase{"NtFamily", false, true,
                    {"Перезагрузить в \"Windows XP Édition && Familiale\"", "Перезагрузить в \"Windows 2000\"", "-",
                     "Перевести в спящий режим", "-", "Выключить компьютер", "-", "Отмена"},
                    "MessageBoxW: Не удалось изменить файл c:\\boot.ini."},
        WesternCase{"NtFamilyWithoutBootIni", false, false, {},
                    "MessageBoxW: А вы уверены, что у вас более одной ОС?\r\nФайл c:\\boot.ini не обнаружен."},
        WesternCase{"Win9xFamily", true, true,
                    {"Ïåðåçàãðóçèòü â \"Windows XP Édition && Familiale\"", "Ïåðåçàãðóçèòü â \"Windows 2000\"", "-",
                     "Ïåðåâåñòè â ñïÿùèé ðåæèì", "-", "Âûêëþ÷èòü êîìïüþòåð", "-", "Îòìåíà"},
                    "MessageBoxA: Íå óäàëîñü èçìåíèòü ôàéë c:\\boot.ini."},
        WesternCase{"Win9xFamilyWithoutBootIni", true, false, {},
                    "MessageBoxA: À âû óâåðåíû, ÷òî ó âàñ áîëåå îäíîé ÎÑ?\r\nÔàéë c:\\boot.ini íå îáíàðóæåí."}),
    kCaseName);

}  // namespace
}  // namespace mvorbel::testing
