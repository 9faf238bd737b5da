// winsim's test control of the user interface: tracked popups, waiting, read-backs, resources.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/winsim/ui/ui_control.h"
#include "tests/winsim/winsim_fixture.h"

namespace winsim_test {
namespace {

using UiControl = Winsim;

std::vector<MSG> commands;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) commands.push_back({hwnd, message, wParam, lParam, 0, {}});
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND Owner() {
    commands.clear();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = "owner";
    EXPECT_NE(0, RegisterClassA(&wc));
    return CreateWindowExA(0, "owner", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

// "One" (4096), a grayed separator (4097) and a checked "Two" (4098).
HMENU Menu() {
    HMENU menu = CreatePopupMenu();
    const struct { UINT id; const char* text; UINT type, state; } items[] = {
        {4096, "One", MFT_STRING, 0},
        {4097, "-", MFT_SEPARATOR, MFS_GRAYED},
        {4098, "Two", MFT_STRING, MFS_CHECKED},
    };
    for (const auto& item : items) {
        MENUITEMINFOA info = {sizeof info};
        info.fMask = MIIM_ID | MIIM_TYPE | MIIM_STATE;
        info.wID = item.id;
        info.fType = item.type;
        info.fState = item.state;
        info.dwTypeData = const_cast<char*>(item.text);
        EXPECT_TRUE(InsertMenuItemA(menu, 0xFFFFFFFF, TRUE, &info)) << item.text;
    }
    return menu;
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

TEST_F(UiControl, ReadMenuShowsWhatTheUserSees) {
    std::string seen;
    for (const auto& line : winsim::ReadMenu(Menu())) {
        seen += line.text + (line.separator ? "-" : "") + (line.grayed ? "g" : "") +
                (line.checked ? "v" : "") + (line.radio ? "o" : "") + " ";
    }
    EXPECT_EQ("One -g Twov ", seen);
    EXPECT_TRUE(winsim::ReadMenu(reinterpret_cast<HMENU>(0x12345)).empty());
}

TEST_F(UiControl, ChoiceIsPostedAsCommandAfterTheScriptSetKeys) {
    HWND owner = Owner();
    winsim::QueueTrackScript([](const winsim::Tracking&) {
        winsim::SetKeyDown(VK_CONTROL, true);
        return std::optional<UINT>(4098);
    });
    EXPECT_TRUE(TrackPopupMenu(Menu(), 0, -5, 40, 0, owner, nullptr));
    EXPECT_TRUE(commands.empty()) << "the choice arrives through the queue";
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    Pump();
    ASSERT_EQ(1u, commands.size());
    EXPECT_TRUE(commands[0].hwnd == owner && commands[0].lParam == 0);
    EXPECT_EQ(4098u, commands[0].wParam);
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
        const bool outer = tracking.point.x == 0;
        if (outer) TrackPopupMenu(menu, 0, 1, 1, 0, owner, nullptr);
        return std::optional<UINT>(tracking.items.size() == 3 ? 4096 : 0);
    });
    EXPECT_TRUE(TrackPopupMenu(menu, 0, 0, 0, 0, owner, nullptr));
    Pump();
    EXPECT_EQ(2u, commands.size()) << "a script may track a nested popup";
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
    ExpectRefusals({
        {"another name", [=] { return LoadIconA(module, "OTHER"); }, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"destroyed", [=] { return DestroyIcon(copy); }, ERROR_INVALID_CURSOR_HANDLE},
    });
}

TEST_F(UiControl, ResetForgetsEverything) {
    HWND owner = Owner();
    HMENU menu = Menu();
    PostQuitMessage(0);
    winsim::SetKeyDown(VK_CONTROL, true);
    winsim::Reset();
    EXPECT_FALSE(IsWindow(owner) || IsMenu(menu));
    EXPECT_EQ(0u, winsim::LiveMenuCount());
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    WNDCLASSA wc;
    EXPECT_FALSE(GetClassInfoA(nullptr, "owner", &wc));
}

}  // namespace
}  // namespace winsim_test
