// The common road: the menu as boot.ini and the Settings file make it, a system chosen, the
// machine asked to restart into it.
#include <algorithm>

#include "tests/scenario/scenario_fixture.h"

namespace mvorbel::testing {
namespace {

class Road : public Scenario {};

TEST_F(Road, ThirdSystemChosenBecomesTheDefaultAndTheMachineRestarts) {
    PrepareRoad();
    const std::string before = BootIniNow();
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
    EXPECT_EQ(Content("c/boot.old"), before);
    EXPECT_FALSE(Exists("c/36528945648732"));
    EXPECT_EQ(winsim::Requests(), (std::vector<winsim::Request>{kPlayerTerminated, ExitRequest(EWX_REBOOT)}));
    ExpectNothingLeft();
}

TEST_F(Road, WithoutThePlayerOnlyTheRestartIsRequested) {
    PutBootIni(BootIni(kKey2));
    winsim::QueueTrackScript(Choose(Os(kDescription1)));

    EXPECT_EQ(RunProgram(), 0);

    EXPECT_EQ(BootIniNow(), BootIni(kKey1));
    EXPECT_EQ(winsim::Requests(), (std::vector<winsim::Request>{ExitRequest(EWX_REBOOT)}));
}

TEST_F(Road, SettingsSwitchOffTheBackupAndForceTheRestart) {
    PutBootIni(BootIni(kKey2));
    PutSettings("backup=0\r\nFORCE=1\r\n");
    winsim::QueueTrackScript(Choose(Os(kDescription3)));

    EXPECT_EQ(RunProgram(), 0);

    EXPECT_EQ(BootIniNow(), BootIni(kKey3));
    EXPECT_FALSE(Exists("c/boot.old"));
    EXPECT_EQ(winsim::Requests(), (std::vector<winsim::Request>{ExitRequest(EWX_REBOOT | EWX_FORCE)}));
}

TEST_F(Road, AnAmpersandInADescriptionShowsLiterally) {
    PutBootIni("[operating systems]\r\nC:\\=Tom & Jerry&\r\n" + kKey1 + "=" + kDescription1 + "\r\n");
    winsim::QueueTrackScript(Choose(Os("Tom && Jerry&&")));

    EXPECT_EQ(RunProgram(), 0);

    ASSERT_EQ(winsim::Trackings().size(), 1u);
    EXPECT_EQ(Shown(winsim::Trackings()[0])[0], Os("Tom && Jerry&&"));
    // The file keeps the description as written; only the label is doubled.
    EXPECT_EQ(BootIniNow(), "[operating systems]\r\nC:\\=Tom & Jerry&\r\n" + kKey1 + "=" + kDescription1 + "\r\n");
}

struct CheckCase {
    const char* name;
    std::string bootIni;
    std::vector<std::string> osItems;
};
void PrintTo(const CheckCase& c, std::ostream* out) { *out << c.name; }

class Checks : public Scenario, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(Checks, MarkExactlyTheEntriesNamingTheDefault) {
    PutBootIni(GetParam().bootIni);
    winsim::QueueTrackScript(Dismiss());

    EXPECT_EQ(RunProgram(), 0);

    ASSERT_EQ(winsim::Trackings().size(), 1u);
    std::vector<std::string> shown = Shown(winsim::Trackings()[0]);
    shown.resize(std::min(shown.size(), GetParam().osItems.size()));
    EXPECT_EQ(shown, GetParam().osItems);
    EXPECT_EQ(BootIniNow(), GetParam().bootIni) << "a dismissed menu changes nothing";
    EXPECT_TRUE(winsim::Requests().empty());
    ExpectNothingLeft();
}

INSTANTIATE_TEST_SUITE_P(
    Scenario, Checks,
    ::testing::Values(
        CheckCase{"NoDefaultLine", "[operating systems]\r\na=One\r\nb=Two\r\n", {Os("One"), Os("Two"), kSeparator}},
        CheckCase{"KeyDiffersInCase", "default=A\r\n[operating systems]\r\na=One\r\nA=Two\r\n",
                  {Os("One"), Checked(Os("Two")), kSeparator}},
        CheckCase{"KeyDiffersByABlank", "default=a \r\n[operating systems]\r\na=One\r\n", {Os("One"), kSeparator}},
        CheckCase{"TwoEntriesWithTheDefaultKey", "default=a\r\n[operating systems]\r\na=One\r\nb=Two\r\na=Three\r\n",
                  {Checked(Os("One")), Os("Two"), Checked(Os("Three")), kSeparator}},
        CheckCase{"EmptyDescription", "default=b\r\n[operating systems]\r\na=\r\nb=Two\r\n",
                  {Os(""), Checked(Os("Two")), kSeparator}},
        CheckCase{"OnlyFiveSlots", "[operating systems]\r\na=1\r\nb=2\r\nc=3\r\nd=4\r\ne=5\r\nf=6\r\n",
                  {Os("1"), Os("2"), Os("3"), Os("4"), Os("5"), kSeparator}}),
    [](const auto& info) { return std::string(info.param.name); });

struct SettingsCase {
    const char* name;
    std::string settings;
    bool hibernationFile;
    std::vector<std::string> powerItems;  // what follows the one system item
};
void PrintTo(const SettingsCase& c, std::ostream* out) { *out << c.name; }

class ItemsShown : public Scenario, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(ItemsShown, FollowTheSettingsAndTheHibernationFile) {
    PutBootIni("[operating systems]\r\na=One\r\n");
    if (!GetParam().settings.empty()) PutSettings(GetParam().settings);
    if (GetParam().hibernationFile) PutHibernationFile();
    winsim::QueueTrackScript(Dismiss());

    EXPECT_EQ(RunProgram(), 0);

    ASSERT_EQ(winsim::Trackings().size(), 1u);
    std::vector<std::string> expected{Os("One")};
    expected.insert(expected.end(), GetParam().powerItems.begin(), GetParam().powerItems.end());
    EXPECT_EQ(Shown(winsim::Trackings()[0]), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Scenario, ItemsShown,
    ::testing::Values(
        SettingsCase{"AllWithFile", "", true, {kSeparator, kHibernate, kSeparator, kTurnOff, kSeparator, kCancel}},
        SettingsCase{"AllWithoutFile", "", false, {kSeparator, kTurnOff, kSeparator, kCancel}},
        SettingsCase{"ShutdownOffWithFile", "shutdown=0", true, {kSeparator, kTurnOff, kSeparator, kCancel}},
        SettingsCase{"ShutdownOffWithoutFile", "shutdown=0", false, {kTurnOff, kSeparator, kCancel}},
        SettingsCase{"HibernateOffWithFile", "hibernate=0", true, {kSeparator, kHibernate, kSeparator, kCancel}},
        SettingsCase{"HibernateOffWithoutFile", "hibernate=0", false, {kSeparator, kSeparator, kCancel}},
        SettingsCase{"CancelOffWithFile", "cancel=0", true, {kSeparator, kHibernate, kSeparator, kTurnOff}},
        SettingsCase{"AllOff", "Shutdown=0\r\nHIBERNATE=0\r\ncancel=0\r\n", true, {}},
        SettingsCase{"LaterLineDoesNotUndo", "cancel=0\r\ncancel=1\r\nshutdown= 0\r\n", true,
                     {kSeparator, kHibernate, kSeparator, kTurnOff}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ProbeCase {
    const char* name;
    bool win9x;
    const char* systemDirectory;
    const char* fileOnHost;  // nullptr: none
    const char* fileContent;
    bool hibernateShown;
};
void PrintTo(const ProbeCase& c, std::ostream* out) { *out << c.name; }

class HibernationProbe : public Scenario, public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(HibernationProbe, DecidesTheHibernateItem) {
    const ProbeCase& probe = GetParam();
    if (probe.win9x) winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    std::filesystem::create_directories(host_ / "c" / "WINDOWS" / "SYSTEM");
    std::filesystem::create_directories(host_ / "d" / "WINNT" / "system32");
    winsim::SetSystemDirectory(probe.systemDirectory);
    PutBootIni("[operating systems]\r\na=One\r\n");
    if (probe.fileOnHost != nullptr) Put(probe.fileOnHost, probe.fileContent);
    winsim::QueueTrackScript(Dismiss());

    EXPECT_EQ(RunProgram(), 0);

    ASSERT_EQ(winsim::Trackings().size(), 1u);
    const std::vector<std::string> shown = Shown(winsim::Trackings()[0]);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), kHibernate), probe.hibernateShown ? 1 : 0)
        << shown.size() << " items shown";
}

INSTANTIATE_TEST_SUITE_P(
    Scenario, HibernationProbe,
    ::testing::Values(
        ProbeCase{"NtOnTheSystemDrive", false, "C:\\WINDOWS\\system32", "c/hiberfil.sys", "z", true},
        ProbeCase{"NtEmptyFile", false, "C:\\WINDOWS\\system32", "c/hiberfil.sys", "", false},
        ProbeCase{"NtOnDriveD", false, "D:\\WINNT\\system32", "d/hiberfil.sys", "z", true},
        ProbeCase{"NtOnDriveDFileOnC", false, "D:\\WINNT\\system32", "c/hiberfil.sys", "z", false},
        ProbeCase{"Win9xInTheSystemDirectory", true, "C:\\WINDOWS\\SYSTEM", "c/WINDOWS/SYSTEM/vmmhiber.w9x", "z", true},
        ProbeCase{"Win9xIgnoresHiberfil", true, "C:\\WINDOWS\\SYSTEM", "c/hiberfil.sys", "z", false},
        ProbeCase{"Win9xNoFile", true, "C:\\WINDOWS\\SYSTEM", nullptr, "", false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mvorbel::testing
