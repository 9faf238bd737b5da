// What the menu shows as boot.ini, the Settings file and the hibernation file make it; the menu
// is then dismissed and nothing changes on the machine.
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
    bool settingsIsFolder = false;
};

class MenuShown : public Scenario, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MenuShown, FollowsBootIniSettingsAndTheHibernationFile) {
    const MenuCase& c = GetParam();
    Put("c/boot.ini", c.bootIni);
    PutSettings(c.settings);
    if (c.settingsIsFolder) {
        std::filesystem::remove(host_ / "d/mVorbel/mvorbel.ini");
        std::filesystem::create_directories(host_ / "d/mVorbel/mvorbel.ini");
    }
    Put("c/hiberfil.sys", c.hiberfil);
    if (c.win9x) {
        winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
        Put("c/WINDOWS/system32/vmmhiber.w9x", "z");
    }
    winsim::QueueTrackScript(Dismiss());

    EXPECT_EQ(RunProgram(), 0u);

    ASSERT_EQ(winsim::Trackings().size(), 1u);
    EXPECT_EQ(Shown(winsim::Trackings()[0]), c.shown);
    EXPECT_EQ(Content("c/boot.ini"), c.bootIni);
    EXPECT_TRUE(winsim::Requests().empty()) << winsim::Requests()[0];
}

const std::string kOne = "[operating systems]\r\na=One\r\n";
const std::vector<std::string> kPowerItems = {kSeparator, kHibernate, kSeparator, kTurnOff, kSeparator, kCancel};
std::vector<std::string> With(std::vector<std::string> items, const std::vector<std::string>& more) {
    items.insert(items.end(), more.begin(), more.end());
    return items;
}
// Its CR ends the reader's 25th buffer of 4096 bytes, after "default=b\r\n[operating systems]\r\na=".
const std::string kLongDescription(25 * 4096 - 1 - 34, 'x');

INSTANTIATE_TEST_SUITE_P(
    Scenario, MenuShown,
    ::testing::Values(
        MenuCase{"ThreeSystems", BootIni(kKey2), "",
                 {Os(kDescription1), Checked(Os(kDescription2)), Os(kDescription3), kSeparator,
                  kHibernate, kSeparator, kTurnOff, kSeparator, kCancel}},
        MenuCase{"KeyDiffersInCase", "default=A\r\n[operating systems]\r\na=One\r\nA=Two\r\n",
                 "shutdown=0",
                 {Os("One"), Checked(Os("Two")), kSeparator, kTurnOff, kSeparator, kCancel}},
        MenuCase{"TwoEntriesWithTheDefaultKey",
                 "default=a\r\n[operating systems]\r\na=One\r\nb=Two\r\na=Three\r\n",
                 "Shutdown=0\r\nHIBERNATE=0\r\ncancel=0\r\n",
                 {Checked(Os("One")), Os("Two"), Checked(Os("Three"))}},
        // The file keeps the description as written; only the label doubles "&".
        MenuCase{"AmpersandShownLiterally", "[operating systems]\r\nC:\\=Tom & Jerry&\r\n",
                 "cancel=0", {Os("Tom && Jerry&&"), kSeparator, kHibernate, kSeparator, kTurnOff}},
        MenuCase{"HibernateOff", kOne, "hibernate=0",
                 {Os("One"), kSeparator, kHibernate, kSeparator, kCancel}},
        MenuCase{"EmptyHibernationFile", kOne, "",
                 {Os("One"), kSeparator, kTurnOff, kSeparator, kCancel}, false, ""},
        MenuCase{"Win9xInTheSystemDirectory", kOne, "",
                 {Os("One"), kSeparator, kHibernate, kSeparator, kTurnOff, kSeparator, kCancel},
                 true, ""},
        // Input nobody meant: a menu all the same, as far as the file makes sense.
        MenuCase{"NulBytesEndALabel", std::string("[operating systems]\r\na=One\0Two\r\n\0=x\r\n", 29), "",
                 With({Os("One")}, kPowerItems)},
        MenuCase{"ALongLineItsCrLfAcrossTheReadersBuffers",
                 "default=b\r\n[operating systems]\r\na=" + kLongDescription + "\r\nb=Two\r\n", "",
                 With({Os(kLongDescription), Checked(Os("Two"))}, kPowerItems)},
        MenuCase{"TenMegabytesBeforeTheSection", std::string(10 << 20, 'x') + "\r\n" + kOne, "",
                 With({Os("One")}, kPowerItems)},
        MenuCase{"OnlyACtrlZ", "\x1A", "", kPowerItems},
        MenuCase{"SettingsFileIsAFolder", kOne, "", With({Os("One")}, kPowerItems), false, "z", true}),
    kCaseName);

}  // namespace
}  // namespace mvorbel::testing
