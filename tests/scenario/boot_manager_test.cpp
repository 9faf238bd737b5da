// The chooser on Windows Vista and later, where the Windows Boot Manager's BCD store holds the
// boot menu: each run told as a story of popups (where, which entry marked) and requests to the
// machine, then the store's default and next-start entry. A choice goes through bcdedit, and only
// a store that names the chosen entry afterwards lets the machine restart.
#include <cctype>

#include "core/bcd_store.h"
#include "platform/winsim/system/bcd_control.h"
#include "tests/scenario/scenario_fixture.h"

namespace mvorbel::testing {
namespace {

const winsim::BcdEntry kWin10 = {"{3c9c3e9a-7f2b-11ee-a0c1-806e6f6e6963}", "Windows 10"};
const winsim::BcdEntry kWin7 = {"{b2721d73-1db4-4c62-bf78-c548a880142d}", "Windows 7 Максимальная"};
const winsim::BcdEntry kNtldr = {"{466f5a88-0af2-4f76-9038-095b170dc21c}", "Earlier Version of Windows"};
const winsim::BcdEntry kWin11 = {"{6d0b5f5e-8a55-4d3e-9c2f-2f6e1c0b7a11}", "Windows 11 专业版 & Office"};
const winsim::BcdEntry kNoName = {"{0ce4991b-e6b3-4b16-b23c-5e0d9250e5d9}", ""};
const winsim::BcdEntry kSixth = {"{1afa9c49-16ab-4a5c-901b-212802da9460}", "Windows Server 2022"};
// Listed in the display order but no object of the store.
const std::string kGone = "{deadbeef-0000-4000-8000-000000000000}";

std::string Label(const winsim::BcdEntry& entry) {
    std::string shown = entry.description.empty() ? entry.guid : entry.description;
    for (std::size_t at = shown.find('&'); at != std::string::npos; at = shown.find('&', at + 2))
        shown.insert(at, "&");
    return "Перезагрузить в \"" + shown + "\"";
}

std::string Marked(const winsim::BcdEntry& entry) { return "popup, marked " + Label(entry); }
std::string Bcdedit(const std::string& option, const winsim::BcdEntry& entry,
                    const std::string& folder = "C:\\WINDOWS\\system32") {
    const std::string path = folder + "\\bcdedit.exe";
    return Said({"CreateProcessA", {path, "\"" + path + "\" " + option + " " + entry.guid,
                                    std::to_string(CREATE_NO_WINDOW), std::to_string(SW_HIDE)}});
}
std::string Box(const std::string& text) { return Said({"MessageBoxW", {"0", text, "mVorbel", "0"}}); }
const std::string kPlayer = Said({"TerminateProcess", {"2345", "0"}});
const std::string kRestart = Said({"ExitWindowsEx", {"2", "1"}});
const std::string kNotChanged = Box("Не удалось изменить хранилище загрузки Windows (BCD).");
const std::string kNoStore =
    Box("А вы уверены, что у вас более одной ОС?\r\nХранилище загрузки Windows (BCD) не найдено.");
const std::string kDenied =
    Box("Нет доступа к хранилищу загрузки Windows (BCD).\r\nЗапустите программу от имени администратора.");

// The menu as it opens: the systems, the second marked, then the commands.
std::vector<std::string> Menu(std::vector<std::string> systems) {
    systems.at(1) = Checked(systems.at(1));
    for (const char* command : {"-", "Перевести в спящий режим", "-", "Выключить компьютер", "-", "Отмена"})
        systems.push_back(command);
    return systems;
}
// The display order's first five objects (a malformed entry and one that is no object skipped),
// each by its description as written (the GUID for none).
const std::vector<std::string> kStoreMenu = Menu({Label(kWin10), Label(kWin7), Label(kNtldr), Label(kWin11),
                                                  Label(kNoName)});
const std::string kXp = "Перезагрузить в \"Windows XP ";

struct StoreCase {
    const char* name;
    std::vector<winsim::TrackScript> menus;
    std::vector<std::string> story;
    std::string defaultAfter = kWin7.guid;
    std::vector<std::string> nextStartAfter = {};
    std::vector<std::string> menu = kStoreMenu;  // the first one
    std::string bootIniAfter = BootIni(kKey2);
    winsim::BcdeditMode bcdedit = winsim::BcdeditMode::Succeeds;
    DWORD major = 10, minor = 0;
    bool wow64 = false;
    bool noStore = false, denied = false;
    std::vector<std::string> order = {kWin10.guid, "{current}", kWin7.guid, kGone, kNtldr.guid, kWin11.guid,
                                      kNoName.guid, kSixth.guid};
};

void PrintTo(const StoreCase& c, std::ostream* out) { *out << c.name; }

class BootManager : public Scenario, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(BootManager, TellsItsStory) {
    const StoreCase& c = GetParam();
    PrepareRoad();
    winsim::SetVersion(VER_PLATFORM_WIN32_NT, c.major, c.minor);
    winsim::SetWow64(c.wow64);
    // The native bcdedit only: a 32-bit process must not find it through its own system32.
    Put("c/WINDOWS/system32/bcdedit.exe", "MZ");
    std::filesystem::create_directories(host_ / "c" / "WINDOWS" / "SysWOW64");
    // The default in capitals: GUIDs are the same whatever their case.
    std::string upperDefault = kWin7.guid;
    for (char& ch : upperDefault) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (!c.noStore) winsim::SetBcdStore({{kWin10, kWin7, kNtldr, kWin11, kNoName, kSixth}, c.order, upperDefault});
    if (c.denied) winsim::DenyRegistryAccess(winsim::kBcdStoreKey);
    winsim::SetBcdedit(c.bcdedit);
    const auto [story, code] = Tell(c.menus, [](const winsim::Tracking& tracking) {
        std::string popup = "popup";
        for (const auto& line : tracking.items)
            if (line.checked) popup += ", marked " + line.utf8;
        return popup;
    });
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(story, c.story);
    EXPECT_EQ(Content("c/boot.ini"), c.bootIniAfter);
    if (!c.menus.empty()) {
        std::vector<std::string> shown;
        for (const auto& line : winsim::Trackings().at(0).items)
            shown.push_back(line.separator ? kSeparator : line.checked ? Checked(line.utf8) : line.utf8);
        EXPECT_EQ(shown, c.menu);
        EXPECT_EQ(winsim::Trackings().at(0).flags, UINT{TPM_HORNEGANIMATION});
    }
    if (c.noStore) return;
    winsim::SetWow64(false);
    EXPECT_TRUE(winsim::BcdDefault() && SameGuid(*winsim::BcdDefault(), c.defaultAfter)) << *winsim::BcdDefault();
    EXPECT_EQ(winsim::BcdBootSequence(), c.nextStartAfter);
    for (const auto& wait : winsim::ProcessWaits()) EXPECT_EQ(wait.milliseconds, 30000u) << "bcdedit's time limit";
}

INSTANTIATE_TEST_SUITE_P(
    Scenario, BootManager,
    ::testing::Values(
        StoreCase{.name = "ChoiceOnVista",
                  .menus = {Choose(Label(kNtldr))},
                  .story = {Marked(kWin7), Bcdedit("/default", kNtldr), kPlayer, kRestart},
                  .defaultAfter = kNtldr.guid,
                  .major = 6},
        StoreCase{.name = "CtrlThenAChoiceInTheReopenedMenu",
                  .menus = {Choose(Label(kWin11), true), Choose(Label(kWin10))},
                  .story = {Marked(kWin7), Bcdedit("/default", kWin11), Marked(kWin11), Bcdedit("/default", kWin10),
                            kPlayer, kRestart},
                  .defaultAfter = kWin10.guid},
        StoreCase{.name = "ShiftForTheNextStartOnlyOnSeven",
                  .menus = {Choose(Label(kWin10), false, true)},
                  .story = {Marked(kWin7), Bcdedit("/bootsequence", kWin10), kPlayer, kRestart},
                  .nextStartAfter = {kWin10.guid},
                  .major = 6,
                  .minor = 1},
        // Ctrl keeps the menu open; with Shift too it still only sets the default.
        StoreCase{.name = "CtrlWithShiftSetsTheDefault",
                  .menus = {Choose(Label(kNoName), true, true), Dismiss()},
                  .story = {Marked(kWin7), Bcdedit("/default", kNoName), Marked(kNoName)},
                  .defaultAfter = kNoName.guid},
        StoreCase{.name = "ThirtyTwoBitOnSixtyFourBitWindows",
                  .menus = {Choose(Label(kWin10), false, true)},
                  .story = {Marked(kWin7), Bcdedit("/bootsequence", kWin10, "C:\\WINDOWS\\Sysnative"), kPlayer,
                            kRestart},
                  .nextStartAfter = {kWin10.guid},
                  .wow64 = true},
        // A change that did not take: the notice, never a restart into the old default.
        StoreCase{.name = "BcdeditFails",
                  .menus = {Choose(Label(kWin10))},
                  .story = {Marked(kWin7), Bcdedit("/default", kWin10), kNotChanged},
                  .bcdedit = winsim::BcdeditMode::Fails},
        StoreCase{.name = "BcdeditHangs",
                  .menus = {Choose(Label(kWin10), false, true)},
                  .story = {Marked(kWin7), Bcdedit("/bootsequence", kWin10), kNotChanged},
                  .bcdedit = winsim::BcdeditMode::Hangs},
        StoreCase{.name = "BcdeditChangesNothingWithCtrl",
                  .menus = {Choose(Label(kWin10), true), Dismiss()},
                  .story = {Marked(kWin7), Bcdedit("/default", kWin10), kNotChanged, Marked(kWin7)},
                  .bcdedit = winsim::BcdeditMode::ChangesNothing},
        // Windows XP reads boot.ini, whatever store a Vista beside it left, and Shift changes nothing
        // there: the choice restarts into the default written to boot.ini.
        StoreCase{.name = "XpWithAStoreBesideItsBootIni",
                  .menus = {Choose(Os(kDescription3), false, true)},
                  .story = {"popup, marked " + kXp + "Professional\" /fastdetect", kPlayer, kRestart},
                  .menu = Menu({kXp + "Home\" /fastdetect", kXp + "Professional\" /fastdetect",
                                "Перезагрузить в \"Windows 98\""}),
                  .bootIniAfter = BootIni(kKey3),
                  .major = 5,
                  .minor = 1},
        StoreCase{.name = "NoStore", .story = {kNoStore}, .noStore = true},
        StoreCase{.name = "NotElevated", .story = {kDenied}, .denied = true},
        StoreCase{.name = "NoEntryIsAnObject", .story = {kNoStore}, .order = {kGone, "{current}"}},
        StoreCase{.name = "EmptyDisplayOrder", .story = {kNoStore}, .order = {}}),
    kCaseName);

}  // namespace
}  // namespace mvorbel::testing
