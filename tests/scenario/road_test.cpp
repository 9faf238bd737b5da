// The common road: the menu as boot.ini and the Settings file make it, a system chosen, the
// machine asked to restart into it.
#include <algorithm>

#include "tests/scenario/scenario_fixture.h"

namespace mvorbel::testing {
namespace {

class Road : public Scenario {};

TEST_F(Road, ThirdSystemChosenBecomesTheDefaultAndTheMachineRestarts) {
    PrepareRoad();
    std::string ownerCaption;
    winsim::QueueTrackScript([&](const winsim::Tracking& tracking) {
        if (auto owner = winsim::DescribeWindow(tracking.owner)) ownerCaption = owner->text;
        return Choose(Os(kDescription3))(tracking);
    });

    EXPECT_EQ(RunProgram(), 0);

    ASSERT_EQ(winsim::Trackings().size(), 1u);
    const winsim::Tracking& menu = winsim::Trackings()[0];
    EXPECT_EQ(Shown(menu), (std::vector<std::string>{Os(kDescription1), Checked(Os(kDescription2)),
                                                     Os(kDescription3), kSeparator, kHibernate, kSeparator,
                                                     kTurnOff, kSeparator, kCancel}));
    EXPECT_EQ(menu.point.x, kCursorX);
    EXPECT_EQ(menu.point.y, kCursorY);
    EXPECT_EQ(menu.flags, 0x800u);
    EXPECT_EQ(ownerCaption, "mVorbel");
    EXPECT_EQ(menu.foreground, menu.owner);

    EXPECT_EQ(BootIniNow(), BootIni(kKey3));
    EXPECT_EQ(Content("c/boot.old"), BootIni(kKey2));
    EXPECT_FALSE(Exists("c/36528945648732"));
    EXPECT_EQ(winsim::Requests(), (std::vector<winsim::Request>{kPlayerTerminated, ExitRequest(EWX_REBOOT)}));
    ExpectNothingLeft();
}

TEST_F(Road, SettingsSwitchOffTheBackupAndForceTheRestartWithoutAPlayer) {
    PutBootIni(BootIni(kKey2));
    PutSettings("backup=0\r\nFORCE=1\r\n");
    winsim::QueueTrackScript(Choose(Os(kDescription3)));

    EXPECT_EQ(RunProgram(), 0);

    EXPECT_EQ(BootIniNow(), BootIni(kKey3));
    EXPECT_FALSE(Exists("c/boot.old"));
    EXPECT_EQ(winsim::Requests(), (std::vector<winsim::Request>{ExitRequest(EWX_REBOOT | EWX_FORCE)}));
}

// What the menu shows, with the menu then dismissed: nothing changes on the machine.
struct MenuCase {
    const char* name;
    std::string bootIni;
    std::string settings;
    const char* probedFile;  // host path of a hibernation file, or nullptr
    std::vector<std::string> shown;
    bool win9x = false;
    std::string probedContent = "z";
};

class MenuShown : public Scenario, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MenuShown, FollowsBootIniSettingsAndTheHibernationFile) {
    const MenuCase& c = GetParam();
    if (c.win9x) winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    PutBootIni(c.bootIni);
    if (!c.settings.empty()) PutSettings(c.settings);
    if (c.probedFile != nullptr) Put(c.probedFile, c.probedContent);
    winsim::QueueTrackScript(Dismiss());

    EXPECT_EQ(RunProgram(), 0);

    ASSERT_EQ(winsim::Trackings().size(), 1u);
    EXPECT_EQ(Shown(winsim::Trackings()[0]), c.shown);
    EXPECT_EQ(BootIniNow(), c.bootIni);
    EXPECT_TRUE(winsim::Requests().empty());
    ExpectNothingLeft();
}

const std::string kOne = "[operating systems]\r\na=One\r\n";
const std::vector<std::string> kAllAfterOne{Os("One"), kSeparator, kHibernate, kSeparator, kTurnOff, kSeparator,
                                            kCancel};
const std::vector<std::string> kNoHibernate{Os("One"), kSeparator, kTurnOff, kSeparator, kCancel};

INSTANTIATE_TEST_SUITE_P(
    Scenario, MenuShown,
    ::testing::Values(
        MenuCase{"KeyDiffersInCase", "default=A\r\n[operating systems]\r\na=One\r\nA=Two\r\n", "shutdown=0", nullptr,
                 {Os("One"), Checked(Os("Two")), kTurnOff, kSeparator, kCancel}},
        MenuCase{"KeyDiffersByABlank", "default=a \r\n" + kOne, "", nullptr, kNoHibernate},
        MenuCase{"TwoEntriesWithTheDefaultKey", "default=a\r\n[operating systems]\r\na=One\r\nb=Two\r\na=Three\r\n",
                 "Shutdown=0\r\nHIBERNATE=0\r\ncancel=0\r\n", "c/hiberfil.sys",
                 {Checked(Os("One")), Os("Two"), Checked(Os("Three"))}},
        // The file keeps the description as written; only the label doubles "&".
        MenuCase{"AmpersandShownLiterally", "[operating systems]\r\nC:\\=Tom & Jerry&\r\n", "cancel=0", nullptr,
                 {Os("Tom && Jerry&&"), kSeparator, kTurnOff}},
        MenuCase{"HibernateOff", kOne, "hibernate=0", "c/hiberfil.sys",
                 {Os("One"), kSeparator, kHibernate, kSeparator, kCancel}},
        MenuCase{"HibernateAndShutdownOff", kOne, "hibernate=0\r\nshutdown=0", nullptr, {Os("One"), kSeparator, kCancel}},
        MenuCase{"LaterLineDoesNotUndo", kOne, "cancel=0\r\ncancel=1\r\nshutdown= 0\r\n", "c/hiberfil.sys",
                 {Os("One"), kSeparator, kHibernate, kSeparator, kTurnOff}},
        MenuCase{"NtEmptyHibernationFile", kOne, "", "c/hiberfil.sys", kNoHibernate, false, ""},
        MenuCase{"NtOnTheSystemDrive", kOne, "", "c/hiberfil.sys", kAllAfterOne},
        MenuCase{"Win9xInTheSystemDirectory", kOne, "", "c/WINDOWS/system32/vmmhiber.w9x", kAllAfterOne, true},
        MenuCase{"Win9xIgnoresHiberfil", kOne, "", "c/hiberfil.sys", kNoHibernate, true}),
    kCaseName);

TEST_F(Road, HibernationFileIsLookedForOnTheSystemDrive) {
    std::filesystem::create_directories(host_ / "d" / "WINNT" / "system32");
    winsim::SetSystemDirectory("D:\\WINNT\\system32");
    PutBootIni(kOne);
    for (const char* drive : {"c", "d"}) {
        Put(std::string(drive) + "/hiberfil.sys", "z");
        winsim::QueueTrackScript(Dismiss());
        EXPECT_EQ(RunProgram(), 0);
        const auto shown = Shown(winsim::Trackings().back());
        EXPECT_EQ(std::count(shown.begin(), shown.end(), kHibernate), *drive == 'd' ? 1 : 0) << drive;
        ForgetFramework();
    }
}

}  // namespace
}  // namespace mvorbel::testing
