// winsim's test control of the user interface: tracked popups, waiting, icon resources, reset.
#include <optional>
#include <stdexcept>
#include <vector>

#include "platform/winsim/system/system_control.h"
#include "platform/winsim/ui/ui_control.h"
#include "tests/winsim/winsim_fixture.h"

namespace winsim_test {
namespace {

using UiControl = Winsim;

HWND Owner() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "owner";
    EXPECT_NE(0, RegisterClassA(&wc));
    return CreateWindowExA(0, "owner", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

// The ids of the commands waiting in the queue for the window.
std::vector<WPARAM> Commands(HWND owner) {
    std::vector<WPARAM> ids;
    MSG msg;
    while (PeekMessageA(&msg, owner, WM_COMMAND, WM_COMMAND, PM_REMOVE)) ids.push_back(msg.wParam);
    return ids;
}

// "One" (4096) and a separator (4097).
HMENU Menu() {
    HMENU menu = CreatePopupMenu();
    for (UINT id : {4096u, 4097u}) {
        MENUITEMINFOA info = {sizeof info};
        info.fMask = MIIM_ID | MIIM_TYPE;
        info.wID = id;
        info.fType = id == 4097 ? MFT_SEPARATOR : MFT_STRING;
        info.dwTypeData = const_cast<char*>("One");
        EXPECT_TRUE(InsertMenuItemA(menu, 0xFFFFFFFF, TRUE, &info)) << id;
    }
    return menu;
}

TEST_F(UiControl, ScriptsNestAndCannotChooseWhatIsNotOffered) {
    HWND owner = Owner();
    HMENU menu = Menu();
    for (UINT id : {4097u, 5000u}) {
        winsim::QueueTrackScript([id](const winsim::Tracking&) { return std::optional<UINT>(id); });
        EXPECT_THROW(TrackPopupMenu(menu, 0, 0, 0, 0, owner, nullptr), std::invalid_argument) << id;
    }
    EXPECT_THROW(TrackPopupMenu(menu, 0, 0, 0, 0, owner, nullptr), winsim::Hang) << "no script";
    // The outer script reads its record after the nested tracking has added one.
    winsim::SetTrackScript([=](const winsim::Tracking& tracking) {
        if (tracking.point.x == 0) TrackPopupMenu(menu, 0, 1, 1, 0, owner, nullptr);
        return std::optional<UINT>(tracking.items.size() == 2 ? 4096 : 0);
    });
    EXPECT_TRUE(TrackPopupMenu(menu, 0, 0, 0, 0, owner, nullptr));
    EXPECT_EQ(2u, Commands(owner).size()) << "a script may track a nested popup";
}

TEST_F(UiControl, WaitingRunsScriptsAndNeverHangs) {
    HWND owner = Owner();
    EXPECT_THROW(WaitMessage(), winsim::Hang);
    winsim::ScriptWait([] {});
    winsim::ScriptWait([owner] { PostMessageA(owner, WM_APP, 0, 0); });
    EXPECT_TRUE(WaitMessage()) << "both scripts run until a message is there";
    EXPECT_EQ(0u, winsim::PendingWaitScripts());
}

TEST_F(UiControl, IconResourcesOfTheModule) {
    HINSTANCE module = reinterpret_cast<HINSTANCE>(0x400000);
    ExpectRefusals({{"no icons", [=] { return LoadIconA(module, "MAINICON"); },
                     ERROR_RESOURCE_TYPE_NOT_FOUND}});
    winsim::AddIconResource(module, "MAINICON");
    HICON icon = LoadIconA(module, "mainicon");
    EXPECT_EQ(icon, LoadIconA(module, "MAINICON")) << "the shared icon is loaded once";
    HICON copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 0, 0, 0));
    EXPECT_EQ(1u, winsim::LiveIconCount()) << "copies are counted, shared icons not";
    EXPECT_TRUE(DestroyIcon(copy));
    ExpectRefusals({{"another name", [=] { return LoadIconA(module, "OTHER"); }, ERROR_RESOURCE_NAME_NOT_FOUND}});
}

// A menu read back in the three forms, on a Western system.
TEST_F(UiControl, MenuTextsReadInTheAnsiCodePageInUtf16AndInUtf8) {
    winsim::SetAnsiCodePage(1252);
    EXPECT_EQ(1252u, GetACP());
    EXPECT_THROW(winsim::SetAnsiCodePage(437), std::invalid_argument);
    HMENU menu = CreatePopupMenu();
    MENUITEMINFOA narrow = {sizeof narrow};
    narrow.fMask = MIIM_STRING;
    narrow.dwTypeData = const_cast<char*>("\xCE\xF2\xEC\xE5\xED\xE0");
    ASSERT_TRUE(InsertMenuItemA(menu, 0, TRUE, &narrow));
    MENUITEMINFOW wide = {sizeof wide};
    wide.fMask = MIIM_STRING;
    wide.dwTypeData = const_cast<WCHAR*>(u"Отмена");
    ASSERT_TRUE(InsertMenuItemW(menu, 1, TRUE, &wide));
    const auto lines = winsim::ReadMenu(menu);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("\xCE\xF2\xEC\xE5\xED\xE0", lines[0].text) << "the bytes as given";
    EXPECT_EQ("Îòìåíà", lines[0].utf8);
    EXPECT_EQ(u"Îòìåíà", lines[0].wide);
    EXPECT_EQ("??????", lines[1].text) << "what 1252 lacks";
    EXPECT_EQ("Отмена", lines[1].utf8);
}

TEST_F(UiControl, ResetForgetsEverything) {
    HWND owner = Owner();
    HMENU menu = Menu();
    PostQuitMessage(0);
    winsim::SetKeyDown(VK_CONTROL, true);
    winsim::SetAnsiCodePage(1252);
    Put("C:\\a.txt", "x");
    ASSERT_TRUE(SetFileAttributesA("C:\\a.txt", FILE_ATTRIBUTE_READONLY));
    CreateFileA("C:\\a.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    winsim::Reset();
    EXPECT_EQ(0u, winsim::OpenHandleCount());
    EXPECT_TRUE(winsim::FileJournal().empty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\a.txt")) << "C: is unmapped";
    winsim::MapDrive('C', host_ / "c");
    EXPECT_EQ(DWORD{FILE_ATTRIBUTE_ARCHIVE}, GetFileAttributesA("C:\\a.txt"));
    EXPECT_TRUE(DeleteFileA("C:\\a.txt")) << "no handle of the last run keeps it open";
    EXPECT_EQ(1251u, GetACP());
    EXPECT_FALSE(IsWindow(owner) || IsMenu(menu));
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    WNDCLASSA wc;
    EXPECT_FALSE(GetClassInfoA(nullptr, "owner", &wc));
}

}  // namespace
}  // namespace winsim_test
