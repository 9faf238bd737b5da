// What a choice in the menu leads to, told as a story: each popup with where it opened and what
// it marked, and each request to the machine, in the order they came; then the exit code and
// what boot.ini and boot.old name. Choosing a system with Ctrl held re-opens the menu, and what
// the user does there is carried out as in the first one. A boot.ini that can't be opened, or a
// heap that refuses a block, ends the run in the runtime's error box with exit code 1.
#include "tests/scenario/scenario_fixture.h"

namespace mvorbel::testing {
namespace {

std::string Popup(const winsim::Tracking& tracking) {
    std::ostringstream text;
    text << "popup at " << tracking.point.x << "," << tracking.point.y << " flags " << tracking.flags;
    for (const auto& line : tracking.items) {
        if (line.checked) text << " " << Checked(line.text);
    }
    return text.str();
}
// The error box's address is where the error was raised; the unit tests read it.
std::string Said(winsim::Request request) {
    if (request.call == "MessageBoxA" && request.args.at(2) == "Application Error") {
        std::string& text = request.args.at(1);
        const std::size_t at = text.find(" at ") + 4;
        text.replace(at, text.find(".\n") - at, "<address>");
    }
    std::ostringstream text;
    text << request;
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

// The menu opens where the mouse was when the program started, whatever the mouse did since.
std::string MenuMarking(const std::string& description) {
    return "popup at 412,296 flags 2048 " + Checked(Os(description));
}
const std::string kMenu1 = MenuMarking(kDescription1);
const std::string kMenu2 = MenuMarking(kDescription2);
const std::string kMenu3 = MenuMarking(kDescription3);
const std::string kPlayer = Said({"TerminateProcess", {"2345", "0"}});
const std::string kRestart = Said({"ExitWindowsEx", {"2", "1"}});
const std::string kForcedRestart = Said({"ExitWindowsEx", {"6", "1"}});
const std::string kForcedPowerOff = Said({"ExitWindowsEx", {"12", "1"}});
const std::string kSuspend = Said({"WinExec", {"rundll32.exe powrprof.dll,SetSuspendState", "0"}});
const std::string kRewriteFailed =
    Said({"MessageBoxW", {"0", "Не удалось изменить файл c:\\boot.ini.", "mVorbel", "0"}});

struct ChoiceCase {
    const char* name;
    std::vector<winsim::TrackScript> menus;
    std::vector<std::string> story;
    std::string defaultAfter = kKey2;
    std::string backedUp = "";  // the default that c:\boot.old names; empty: no backup made
    std::string settings = "";
    const char* failingCall = nullptr;  // fails once with ERROR_ACCESS_DENIED
    int failingNth = 1;
    UINT exitCode = 0;
};

void PrintTo(const ChoiceCase& c, std::ostream* out) { *out << c.name; }

class Choices : public Scenario, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(Choices, TellTheirStory) {
    const ChoiceCase& c = GetParam();
    PrepareRoad();
    PutSettings(c.settings);
    if (c.failingCall != nullptr) winsim::FailCall(c.failingCall, c.failingNth, ERROR_ACCESS_DENIED);
    std::vector<std::string> story;
    std::size_t told = 0;
    const auto tellRequests = [&] {
        for (; told < winsim::Requests().size(); ++told)
            story.push_back(Said(winsim::Requests()[told]));
    };
    for (const winsim::TrackScript& menu : c.menus) {
        winsim::QueueTrackScript([&, menu](const winsim::Tracking& tracking) {
            tellRequests();
            story.push_back(Popup(tracking));
            return menu(tracking);
        });
    }

    EXPECT_EQ(RunProgram(), c.exitCode);

    tellRequests();
    EXPECT_EQ(story, c.story);
    EXPECT_EQ(Content("c/boot.ini"), BootIni(c.defaultAfter));
    EXPECT_EQ(Content("c/boot.old"), c.backedUp.empty() ? "<missing>" : BootIni(c.backedUp));
}

const winsim::TrackScript kThirdWithCtrl = Choose(Os(kDescription3), true);

INSTANTIATE_TEST_SUITE_P(
    Scenario, Choices,
    ::testing::Values(
        ChoiceCase{"Road", {Choose(Os(kDescription3))}, {kMenu2, kPlayer, kRestart}, kKey3, kKey2},
        ChoiceCase{"NoBackupAndForced", {Choose(Os(kDescription3))},
                   {kMenu2, kPlayer, kForcedRestart}, kKey3, "", "backup=0\r\nFORCE=1\r\n"},
        ChoiceCase{"Hibernate", {Choose(kHibernate)}, {kMenu2, kSuspend}},
        ChoiceCase{"TurnOffForcedWithCtrl", {Choose(kTurnOff, true)},
                   {kMenu2, kPlayer, kForcedPowerOff}, kKey2, "", "force=1"},
        ChoiceCase{"CancelWithCtrl", {Choose(kCancel, true)}, {kMenu2}},
        // Each rewrite backs up the file it replaces.
        ChoiceCase{"CtrlTwiceThenASystem",
                   {kThirdWithCtrl, Choose(Os(kDescription1), true), Choose(Os(kDescription2))},
                   {kMenu2, kMenu3, kMenu1, kPlayer, kRestart}, kKey2, kKey1},
        ChoiceCase{"CtrlThenHibernate", {kThirdWithCtrl, Choose(kHibernate, true)},
                   {kMenu2, kMenu3, kSuspend}, kKey3, kKey2},
        ChoiceCase{"CtrlThenDismissed", {kThirdWithCtrl, Dismiss()}, {kMenu2, kMenu3}, kKey3,
                   kKey2},
        // A rewrite that did not take effect: a notice instead of the restart, and on the Ctrl
        // path before the menu shows the unchanged default again. The backup is made only once
        // the new text is safely on the disk; the first rename puts the backup in place.
        ChoiceCase{"ReplaceRefused", {Choose(Os(kDescription3))}, {kMenu2, kRewriteFailed},
                   kKey2, kKey2, "", "MoveFileExA", 2},
        ChoiceCase{"NotFlushedWithCtrl", {kThirdWithCtrl, Dismiss()},
                   {kMenu2, kRewriteFailed, kMenu2}, kKey2, "", "", "FlushFileBuffers"},
        ChoiceCase{"BootIniUnreadable", {}, {ErrorBox("EInOutError", "File access denied.")}, kKey2, "", "",
                   "CreateFileA", 1, 1},
        ChoiceCase{"BootIniLockedForTheRewrite", {FailingFromHere("CreateFileA", Choose(Os(kDescription3)))},
                   {kMenu2, ErrorBox("EInOutError", "File access denied.")}, kKey2, "", "", nullptr, 1, 1},
        ChoiceCase{"HeapAtTheFirstObject", {}, {ErrorBox("EOutOfMemory", "Out of memory.")}, kKey2, "", "",
                   "HeapAlloc", 1, 1},
        ChoiceCase{"HeapGrowingABlock", {}, {ErrorBox("EOutOfMemory", "Out of memory.")}, kKey2, "", "",
                   "HeapReAlloc", 1, 1},
        ChoiceCase{"HeapInTheCommand", {FailingFromHere("HeapAlloc", Choose(Os(kDescription3)))},
                   {kMenu2, ErrorBox("EOutOfMemory", "Out of memory.")}, kKey2, "", "", nullptr, 1, 1}),
    kCaseName);

}  // namespace
}  // namespace mvorbel::testing
