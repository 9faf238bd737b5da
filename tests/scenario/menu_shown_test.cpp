// What the menu shows as boot.ini, the Settings file and the hibernation file make it; the menu
// is then dismissed and nothing changes on the machine.
//
// On a Western Windows (ANSI code page 1252) the NT family shows the program's own words as
// written, through the wide-character calls, and a description in the system's code page, as the
// loader's file was written there. The 9x family shows the program's Windows-1251 bytes in its
// own letters. There the user chooses the first system of a boot.ini that names no default, so
// the rewrite fails and the notice comes; without boot.ini (a folder of that name is none) the
// other notice comes instead of the menu.
#include "tests/scenario/scenario_fixture.h"

namespace mvorbel::testing {
namespace {

struct MenuCase {
    const char* name;
    std::string bootIni;
    std::string settings;
    std::vector<std::string> shown;
    bool win9x = false;          // with c:\WINDOWS\system32\vmmhiber.w9x
    std::string hiberfil = "z";  // c:\hiberfil.sys
    // On a Western system: the menu's texts in UTF-8, and the box as "function: text" in UTF-8.
    bool western = false;
    std::string box = "";
};

// A row is listed and printed by its name, not as the bytes of its struct.
void PrintTo(const MenuCase& c, std::ostream* out) { *out << c.name; }

class MenuShown : public Scenario, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MenuShown, FollowsBootIniSettingsAndTheHibernationFile) {
    const MenuCase& c = GetParam();
    if (c.western) winsim::SetAnsiCodePage(1252);
    if (c.bootIni.empty()) {
        std::filesystem::create_directories(host_ / "c" / "boot.ini");
    } else {
        Put("c/boot.ini", c.bootIni);
    }
    PutSettings(c.settings);
    Put("c/hiberfil.sys", c.hiberfil);
    if (c.win9x) {
        winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
        Put("c/WINDOWS/system32/vmmhiber.w9x", "z");
    }
    winsim::QueueTrackScript([&](const winsim::Tracking& tracking) -> std::optional<UINT> {
        if (c.box.empty()) return std::nullopt;
        return tracking.items.at(0).id;
    });

    EXPECT_EQ(RunProgram(), 0u);

    std::vector<std::string> shown;
    for (const auto& tracking : winsim::Trackings()) {
        for (const auto& line : tracking.items) {
            const std::string text = line.separator ? kSeparator : c.western ? line.utf8 : line.text;
            shown.push_back(line.checked ? Checked(text) : text);
        }
    }
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(Content("c/boot.ini"), c.bootIni) << "a folder reads as empty";
    std::string boxes;
    // MessageBoxA records the bytes it was given, which the user reads in the system's code page.
    for (const winsim::Request& box : winsim::Requests()) {
        const std::string& text = box.args.at(1);
        const bool ansi = box.call == "MessageBoxA";
        boxes += box.call + ": " + (ansi ? winsim::Utf8(winsim::FromCodePage(CP_ACP, text)) : text);
        EXPECT_EQ(box.args.at(2), "mVorbel");
    }
    EXPECT_EQ(boxes, c.box);
}

const std::string kOne = "[operating systems]\r\na=One\r\n";
const std::vector<std::string> kPowerItems = {kSeparator, kHibernate, kSeparator, kTurnOff, kSeparator, kCancel};
std::vector<std::string> With(std::vector<std::string> items, const std::vector<std::string>& more) {
    items.insert(items.end(), more.begin(), more.end());
    return items;
}
// Its CR ends the reader's 25th buffer of 4096 bytes, after "default=b\r\n[operating systems]\r\na=".
const std::string kLongDescription(25 * 4096 - 1 - 34, 'x');
const std::string kWestern = "[operating systems]\r\n" + kKey1 + "=\"Windows XP \xC9" "dition & Familiale\"\r\n" +
                             kKey2 + "=\"Windows 2000\"\r\n";

INSTANTIATE_TEST_SUITE_P(
    Scenario, MenuShown,
    ::testing::Values(
        MenuCase{"KeyDiffersInCase", "default=A\r\n[operating systems]\r\na=One\r\nA=Two\r\n",
                 "shutdown=0",
                 {Os("One"), Checked(Os("Two")), kSeparator, kTurnOff, kSeparator, kCancel}},
        // The loader starts the first entry with the default's key.
        MenuCase{"TwoEntriesWithTheDefaultKeyTheFirstMarked",
                 "default=a\r\n[operating systems]\r\nb=One\r\na=Two\r\na=Three\r\n",
                 "Shutdown=0\r\nHIBERNATE=0\r\ncancel=0\r\n",
                 {Os("One"), Checked(Os("Two")), Os("Three")}},
        // The file keeps the description as written; only the label doubles "&".
        MenuCase{"AmpersandShownLiterally", "[operating systems]\r\nC:\\=Tom & Jerry&\r\n",
                 "cancel=0", {Os("Tom && Jerry&&"), kSeparator, kHibernate, kSeparator, kTurnOff}},
        MenuCase{"HibernateOff", kOne, "hibernate=0",
                 {Os("One"), kSeparator, kHibernate, kSeparator, kCancel}},
        MenuCase{"EmptyHibernationFile", kOne, "",
                 {Os("One"), kSeparator, kTurnOff, kSeparator, kCancel}, false, ""},
        MenuCase{"Win9xInTheSystemDirectory", kOne, "", With({Os("One")}, kPowerItems), true, ""},
        // Input nobody meant: a menu all the same, as far as the file makes sense.
        MenuCase{"NulBytesEndALabel", std::string("[operating systems]\r\na=One\0Two\r\n\0=x\r\n", 29), "",
                 With({Os("One")}, kPowerItems)},
        MenuCase{"ALongLineItsCrLfAcrossTheReadersBuffers",
                 "default=b\r\n[operating systems]\r\na=" + kLongDescription + "\r\nb=Two\r\n", "",
                 With({Os(kLongDescription), Checked(Os("Two"))}, kPowerItems)},
        MenuCase{"TenMegabytesBeforeTheSection", std::string(10 << 20, 'x') + "\r\n" + kOne, "",
                 With({Os("One")}, kPowerItems)},
        MenuCase{"OnlyACtrlZ", "\x1A", "", kPowerItems},
        MenuCase{"WesternNtFamily", kWestern, "",
                 {"Перезагрузить в \"Windows XP Édition && Familiale\"", "Перезагрузить в \"Windows 2000\"", "-",
                  "Перевести в спящий режим", "-", "Выключить компьютер", "-", "Отмена"},
                 false, "z", true, "MessageBoxW: Не удалось изменить файл c:\\boot.ini."},
        MenuCase{"WesternNtFamilyWithoutBootIni", "", "", {}, false, "z", true,
                 "MessageBoxW: А вы уверены, что у вас более одной ОС?\r\nФайл c:\\boot.ini не обнаружен."},
        MenuCase{"WesternWin9xFamily", kWestern, "",
                 {"Ïåðåçàãðóçèòü â \"Windows XP Édition && Familiale\"", "Ïåðåçàãðóçèòü â \"Windows 2000\"", "-",
                  "Ïåðåâåñòè â ñïÿùèé ðåæèì", "-", "Âûêëþ÷èòü êîìïüþòåð", "-", "Îòìåíà"},
                 true, "z", true, "MessageBoxA: Íå óäàëîñü èçìåíèòü ôàéë c:\\boot.ini."},
        MenuCase{"WesternWin9xFamilyWithoutBootIni", "", "", {}, true, "z", true,
                 "MessageBoxA: À âû óâåðåíû, ÷òî ó âàñ áîëåå îäíîé ÎÑ?\r\nÔàéë c:\\boot.ini íå îáíàðóæåí."}),
    kCaseName);

}  // namespace
}  // namespace mvorbel::testing
