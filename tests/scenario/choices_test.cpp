// What a choice in the menu leads to, told as a story: each popup with where it opened and the
// item it marked, and each request to the machine, in the order they came; then the exit code and
// what boot.ini and boot.old hold. Choosing a system with Ctrl held re-opens the menu, as the
// file now is, and what the user does there is carried out as in the first one. A boot.ini that
// can't be opened, or a heap that refuses a block, ends the run in the runtime's error box with
// exit code 1. After every change on drive C: boot.ini is whole, as it was before a rewrite or
// after it (on the 9x family, which renames, maybe under a name beside it).
#include <set>

#include "tests/scenario/scenario_fixture.h"

namespace mvorbel::testing {
namespace {

std::string Popup(const winsim::Tracking& tracking) {
    std::ostringstream text;
    text << "popup at " << tracking.point.x << "," << tracking.point.y << " flags " << tracking.flags;
    for (std::size_t item = 0; item < tracking.items.size(); ++item) {
        if (tracking.items[item].checked) text << " " << item << " " << Checked(tracking.items[item].text);
    }
    return text.str();
}
std::string ErrorBox(const std::string& className, const std::string& message) {
    const std::string text = "Exception " + className + " in module mvorbel.exe at <address>.\n" + message;
    return Said({"MessageBoxA", {"0", text, "Application Error", std::to_string(MB_TASKMODAL | MB_ICONERROR)}});
}
// The call fails once from the choice on, inside the command, from a window procedure.
winsim::TrackScript FailingFromHere(const char* function, winsim::TrackScript then) {
    return [=](const winsim::Tracking& tracking) {
        winsim::FailCall(function, 1, ERROR_ACCESS_DENIED);
        return then(tracking);
    };
}

// The menu opens where the mouse was when the program started, whatever the mouse did since. 95
// and NT 4.0 have no menu animation, and the popup is tracked without its flag there.
std::string MenuMarking(int item, const std::string& description, bool animated = true) {
    return "popup at 412,296 flags " + std::string(animated ? "2048 " : "0 ") + std::to_string(item) + " " +
           Checked(Os(description));
}
const std::string kMenu1 = MenuMarking(0, kDescription1);
const std::string kMenu2 = MenuMarking(1, kDescription2);
const std::string kMenu3 = MenuMarking(2, kDescription3);
const std::string kIni1 = BootIni(kKey1), kIni2 = BootIni(kKey2), kIni3 = BootIni(kKey3), kNone = "<missing>";
const std::string kPlayer = Said({"TerminateProcess", {"2345", "0"}});
const std::string kRestart = Said({"ExitWindowsEx", {"2", "1"}});
const std::string kForcedRestart = Said({"ExitWindowsEx", {"6", "1"}});
const std::string kForcedPowerOff = Said({"ExitWindowsEx", {"12", "1"}});
const std::string kSuspend = Said({"WinExec", {"rundll32.exe powrprof.dll,SetSuspendState", "0"}});
const std::string kRewriteFailed =
    Said({"MessageBoxW", {"0", "Не удалось изменить файл c:\\boot.ini.", "mVorbel", "0"}});

// NT 4.0 writes its system twice under one path, the second in VGA mode, and keeps the system it
// found (here Windows 95) as C:\. The loader starts the first entry with the default's path.
const std::string kKeyNt4 = "multi(0)disk(0)rdisk(0)partition(1)\\WINNT";
const std::string kNtServer = "\"Windows NT Server Version 4.00\"";
const std::string kNtVga = "\"Windows NT Server Version 4.00 [VGA mode]\" /basevideo /sos";
std::string Nt4BootIni(bool vgaFirst) {
    const std::string server = kKeyNt4 + "=" + kNtServer + "\r\n", vga = kKeyNt4 + "=" + kNtVga + "\r\n";
    return "[boot loader]\r\ntimeout=30\r\ndefault=" + kKeyNt4 + "\r\n[operating systems]\r\n" +
           (vgaFirst ? vga + server : server + vga) + "C:\\=\"Microsoft Windows\"\r\n";
}
// Edited by hand with another editor's line end: the default line runs on into the next one.
std::string HandEdited(const std::string& key) {
    std::string text = BootIni(key);
    const std::string lines = "timeout=30\r\ndefault=" + key + "\r\n";
    return text.replace(text.find(lines), lines.size(), "default=" + key + "\ntimeout=30\r\n");
}

struct Version {
    DWORD platform = VER_PLATFORM_WIN32_NT, major = 5, minor = 1;
};
constexpr Version kWin95 = {VER_PLATFORM_WIN32_WINDOWS, 4, 0}, kWin98 = {VER_PLATFORM_WIN32_WINDOWS, 4, 10},
                  kNt4 = {VER_PLATFORM_WIN32_NT, 4, 0};

struct ChoiceCase {
    const char* name;
    std::vector<winsim::TrackScript> menus;
    std::vector<std::string> story;
    std::string after = kIni2;   // boot.ini in the end
    std::string backup = kNone;  // c:\boot.old in the end
    std::string settings = "";
    const char* failingCall = nullptr;  // fails once with ERROR_ACCESS_DENIED
    int failingNth = 1;
    UINT exitCode = 0;
    std::string before = kIni2;
    Version version = {};
};

void PrintTo(const ChoiceCase& c, std::ostream* out) { *out << c.name; }

class Choices : public Scenario, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(Choices, TellTheirStory) {
    const ChoiceCase& c = GetParam();
    PrepareRoad();
    winsim::SetVersion(c.version.platform, c.version.major, c.version.minor);
    Put("c/boot.ini", c.before);
    PutSettings(c.settings);
    winsim::ClearFileJournal();
    std::set<std::string> texts = {c.before};
    if (c.failingCall != nullptr) winsim::FailCall(c.failingCall, c.failingNth, ERROR_ACCESS_DENIED);
    // What boot.ini held when each menu showed, and in the end: the texts it may hold between.
    const auto [story, code] = Tell(c.menus, [&](const winsim::Tracking& tracking) {
        texts.insert(Content("c/boot.ini"));
        return Popup(tracking);
    });
    EXPECT_EQ(code, c.exitCode);
    EXPECT_EQ(story, c.story);
    EXPECT_EQ(Content("c/boot.ini"), c.after);
    EXPECT_EQ(Content("c/boot.old"), c.backup);
    texts.insert(c.after);
    const auto whole = [&](const winsim::FileSnapshot* file) { return file != nullptr && texts.count(file->content); };
    const bool win9x = c.version.platform == VER_PLATFORM_WIN32_WINDOWS;
    for (const auto& step : winsim::FileJournal()) {
        const bool aside = win9x && (whole(step.Find("c:\\36528945648733")) || whole(step.Find("c:\\36528945648732")));
        EXPECT_TRUE(whole(step.Find("c:\\boot.ini")) || aside) << "after " << step.call;
    }
}

const winsim::TrackScript kThirdWithCtrl = Choose(Os(kDescription3), true);

INSTANTIATE_TEST_SUITE_P(
    Scenario, Choices,
    ::testing::Values(
        ChoiceCase{"Road", {Choose(Os(kDescription3))}, {kMenu2, kPlayer, kRestart}, kIni3, kIni2},
        ChoiceCase{"NoBackupAndForced", {Choose(Os(kDescription3))},
                   {kMenu2, kPlayer, kForcedRestart}, kIni3, kNone, "backup=0\r\nFORCE=1\r\n"},
        ChoiceCase{"Hibernate", {Choose(kHibernate)}, {kMenu2, kSuspend}},
        ChoiceCase{"TurnOffForcedWithCtrl", {Choose(kTurnOff, true)},
                   {kMenu2, kPlayer, kForcedPowerOff}, kIni2, kNone, "force=1"},
        ChoiceCase{"CancelWithCtrl", {Choose(kCancel, true)}, {kMenu2}},
        // Each rewrite backs up the file it replaces.
        ChoiceCase{"CtrlTwiceThenASystem",
                   {kThirdWithCtrl, Choose(Os(kDescription1), true), Choose(Os(kDescription2))},
                   {kMenu2, kMenu3, kMenu1, kPlayer, kRestart}, kIni2, kIni1},
        ChoiceCase{"CtrlThenHibernate", {kThirdWithCtrl, Choose(kHibernate, true)},
                   {kMenu2, kMenu3, kSuspend}, kIni3, kIni2},
        ChoiceCase{"CtrlThenDismissed", {kThirdWithCtrl, Dismiss()}, {kMenu2, kMenu3}, kIni3, kIni2},
        // A line of a path that an earlier line shares moves up before it, and the loader starts
        // it; only the first of them is marked. The re-opened menu lists the file as it now is.
        ChoiceCase{.name = "SharedPathOn95", .menus = {Choose(Os(kNtVga))},
                   .story = {MenuMarking(0, kNtServer, false), kPlayer, kRestart},
                   .after = Nt4BootIni(true), .backup = Nt4BootIni(false), .before = Nt4BootIni(false),
                   .version = kWin95},
        ChoiceCase{.name = "SharedPathOnNt4WithCtrlAndBack",
                   .menus = {Choose(Os(kNtVga), true), Choose(Os(kNtServer), true), Dismiss()},
                   .story = {MenuMarking(0, kNtServer, false), MenuMarking(0, kNtVga, false),
                             MenuMarking(0, kNtServer, false)},
                   .after = Nt4BootIni(false), .backup = Nt4BootIni(true), .before = Nt4BootIni(false),
                   .version = kNt4},
        // A default value ends at a lone line feed, as the loader reads it: its entry is marked, and
        // the rewrite, which keeps what follows the line feed, names the chosen one.
        ChoiceCase{.name = "HandEditedDefault", .menus = {Choose(Os(kDescription3))},
                   .story = {kMenu2, kPlayer, kRestart}, .after = HandEdited(kKey3), .backup = HandEdited(kKey2),
                   .before = HandEdited(kKey2)},
        ChoiceCase{.name = "HandEditedDefaultOn98WithCtrl", .menus = {kThirdWithCtrl, Dismiss()},
                   .story = {kMenu2, kMenu3}, .after = HandEdited(kKey3), .backup = HandEdited(kKey2),
                   .before = HandEdited(kKey2), .version = kWin98},
        // A rewrite that did not take effect: a notice instead of the restart, and on the Ctrl
        // path before the menu shows the unchanged default again. The backup is made only once
        // the new text is safely on the disk; the first rename puts the backup in place.
        ChoiceCase{"ReplaceRefused", {Choose(Os(kDescription3))}, {kMenu2, kRewriteFailed},
                   kIni2, kIni2, "", "MoveFileExA", 2},
        ChoiceCase{"NotFlushedWithCtrl", {kThirdWithCtrl, Dismiss()},
                   {kMenu2, kRewriteFailed, kMenu2}, kIni2, kNone, "", "FlushFileBuffers"},
        ChoiceCase{"BootIniUnreadable", {}, {ErrorBox("EInOutError", "File access denied.")}, kIni2, kNone, "",
                   "CreateFileA", 1, 1},
        ChoiceCase{"BootIniLockedForTheRewrite", {FailingFromHere("CreateFileA", Choose(Os(kDescription3)))},
                   {kMenu2, ErrorBox("EInOutError", "File access denied.")}, kIni2, kNone, "", nullptr, 1, 1},
        ChoiceCase{"HeapAtTheFirstObject", {}, {ErrorBox("EOutOfMemory", "Out of memory.")}, kIni2, kNone, "",
                   "HeapAlloc", 1, 1},
        ChoiceCase{"HeapGrowingABlock", {}, {ErrorBox("EOutOfMemory", "Out of memory.")}, kIni2, kNone, "",
                   "HeapReAlloc", 1, 1},
        ChoiceCase{"HeapInTheCommand", {FailingFromHere("HeapAlloc", Choose(Os(kDescription3)))},
                   {kMenu2, ErrorBox("EOutOfMemory", "Out of memory.")}, kIni2, kNone, "", nullptr, 1, 1}),
    kCaseName);

}  // namespace
}  // namespace mvorbel::testing
