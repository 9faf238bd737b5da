// winsim's test control of the user interface: tracked popups, waiting, read-backs, resources.
#include <gtest/gtest.h>

#include "platform/win32.h"
#include "platform/winsim/base/base_control.h"
#include "platform/winsim/ui/ui_control.h"

namespace {

constexpr DWORD kSentinel = 0xDEADBEEF;

std::vector<MSG> commands;

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) commands.push_back({hwnd, message, wParam, lParam, 0, {}});
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class UiControl : public ::testing::Test {
 protected:
    void SetUp() override {
        winsim::Reset();
        commands.clear();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.lpszClassName = "owner";
        ASSERT_NE(0, RegisterClassA(&wc));
        owner_ = CreateWindowExA(0, "owner", "", 0x06CF0000, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, owner_);
        menu_ = CreatePopupMenu();
        Append(4096, "One");
        Append(4097, "-", MFT_SEPARATOR, MFS_GRAYED);
        Append(4098, "Two", MFT_STRING, MFS_CHECKED);
    }
    void TearDown() override { winsim::Reset(); }

    void Append(UINT id, const char* text, UINT type = MFT_STRING, UINT state = 0) {
        MENUITEMINFOA info = {sizeof info};
        info.fMask = MIIM_ID | MIIM_TYPE | MIIM_STATE;
        info.wID = id;
        info.fType = type;
        info.fState = state;
        info.dwTypeData = const_cast<char*>(text);
        ASSERT_TRUE(InsertMenuItemA(menu_, 0xFFFFFFFF, TRUE, &info));
    }

    void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }

    HWND owner_ = nullptr;
    HMENU menu_ = nullptr;
};

TEST_F(UiControl, ReadMenuShowsWhatTheUserSees) {
    auto lines = winsim::ReadMenu(menu_);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ("One", lines[0].text);
    EXPECT_TRUE(lines[1].separator && lines[1].grayed && lines[1].text.empty()) << lines[1].text;
    EXPECT_TRUE(lines[2].checked && !lines[2].radio);
    EXPECT_TRUE(winsim::ReadMenu(reinterpret_cast<HMENU>(0x12345)).empty());
}

TEST_F(UiControl, ChoiceIsPostedAsCommandAndTrackingRecorded) {
    SetForegroundWindow(owner_);
    winsim::QueueTrackScript([](const winsim::Tracking& t) -> std::optional<UINT> {
        EXPECT_EQ(3u, t.items.size());
        winsim::SetKeyDown(VK_CONTROL, true);
        return 4098;
    });
    EXPECT_TRUE(TrackPopupMenu(menu_, TPM_HORNEGANIMATION, -5, 40, 0, owner_, nullptr));
    EXPECT_TRUE(commands.empty()) << "the choice arrives through the queue";
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    Pump();
    ASSERT_EQ(1u, commands.size());
    EXPECT_TRUE(commands[0].hwnd == owner_ && commands[0].lParam == 0);
    EXPECT_EQ(4098u, commands[0].wParam);
    ASSERT_EQ(1u, winsim::Trackings().size());
    const auto& t = winsim::Trackings()[0];
    EXPECT_EQ(-5, t.point.x);
    EXPECT_EQ(40, t.point.y);
    EXPECT_EQ(UINT{TPM_HORNEGANIMATION}, t.flags);
    EXPECT_TRUE(t.owner == owner_ && t.foreground == owner_);
}

TEST_F(UiControl, ScriptsDismissReturnNestAndCannotChooseWhatIsNotOffered) {
    winsim::QueueTrackScript([](const winsim::Tracking&) { return std::optional<UINT>(); });
    winsim::QueueTrackScript([](const winsim::Tracking&) { return std::optional<UINT>(4096); });
    EXPECT_TRUE(TrackPopupMenu(menu_, 0, 0, 0, 0, owner_, nullptr)) << "dismissed";
    EXPECT_EQ(4096, TrackPopupMenu(menu_, TPM_RETURNCMD, 0, 0, 0, owner_, nullptr));
    Pump();
    EXPECT_TRUE(commands.empty()) << "neither posts a command";
    for (UINT id : {4097u, 5000u}) {
        winsim::QueueTrackScript([id](const winsim::Tracking&) { return std::optional<UINT>(id); });
        EXPECT_THROW(TrackPopupMenu(menu_, 0, 0, 0, 0, owner_, nullptr), std::invalid_argument) << id;
    }
    EXPECT_THROW(TrackPopupMenu(menu_, 0, 0, 0, 0, owner_, nullptr), winsim::Hang) << "no script";
    const std::size_t before = winsim::Trackings().size();
    winsim::SetTrackScript([this, before](const winsim::Tracking&) -> std::optional<UINT> {
        if (winsim::Trackings().size() == before + 1) TrackPopupMenu(menu_, 0, 1, 1, 0, owner_, nullptr);
        return 4096;
    });
    EXPECT_TRUE(TrackPopupMenu(menu_, 0, 0, 0, 0, owner_, nullptr));
    EXPECT_EQ(before + 2, winsim::Trackings().size()) << "a script may track a nested popup";
    Pump();
    EXPECT_EQ(2u, commands.size());
}

TEST_F(UiControl, WaitingRunsScriptsAndNeverHangs) {
    EXPECT_THROW(WaitMessage(), winsim::Hang);
    winsim::ScriptWait([] {});
    winsim::ScriptWait([this] { PostMessageA(owner_, WM_APP, 0, 0); });
    EXPECT_TRUE(WaitMessage()) << "both scripts run until a message is there";
    EXPECT_EQ(0u, winsim::PendingWaitScripts());
    EXPECT_TRUE(WaitMessage()) << "a waiting message returns at once";
    MSG msg;
    EXPECT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(static_cast<UINT>(WM_APP), msg.message);
    PostQuitMessage(3);
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(3u, msg.wParam);
}

TEST_F(UiControl, IconResourcesOfTheModule) {
    HINSTANCE module = reinterpret_cast<HINSTANCE>(0x400000);
    SetLastError(kSentinel);
    EXPECT_EQ(nullptr, LoadIconA(module, "MAINICON"));
    EXPECT_EQ(DWORD{ERROR_RESOURCE_TYPE_NOT_FOUND}, GetLastError());
    winsim::AddIconResource(module, "MAINICON");
    HICON icon = LoadIconA(module, "mainicon");
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(icon, LoadIconA(module, "MAINICON")) << "the shared icon is loaded once";
    SetLastError(kSentinel);
    EXPECT_EQ(nullptr, LoadIconA(module, "OTHER"));
    EXPECT_EQ(DWORD{ERROR_RESOURCE_NAME_NOT_FOUND}, GetLastError());
    HICON copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 0, 0, 0));
    EXPECT_EQ(1u, winsim::LiveIconCount());
    EXPECT_TRUE(DestroyIcon(copy));
    EXPECT_TRUE(DestroyIcon(icon)) << "destroying a shared icon succeeds";
    EXPECT_EQ(0u, winsim::LiveIconCount());
    SetLastError(kSentinel);
    EXPECT_FALSE(DestroyIcon(copy));
    EXPECT_EQ(DWORD{ERROR_INVALID_CURSOR_HANDLE}, GetLastError());
}

TEST_F(UiControl, ShowingErasesAndPaintsThroughTheQueue) {
    HBRUSH brush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    HDC dc = GetDC(owner_);
    SetBkMode(dc, OPAQUE);
    RECT client;
    GetClientRect(owner_, &client);
    EXPECT_EQ(1, FillRect(dc, &client, brush));
    ReleaseDC(owner_, dc);
    ASSERT_EQ(1u, winsim::Fills().size());
    EXPECT_EQ(RGB(240, 240, 240), winsim::Fills()[0].color);
    EXPECT_EQ(owner_, winsim::Fills()[0].window);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(0u, winsim::LiveGdiObjectCount());

    ShowWindow(owner_, SW_SHOW);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_PAINT), msg.message);
    DispatchMessageA(&msg);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "the default WM_PAINT validates";
}

TEST_F(UiControl, ResetForgetsEverything) {
    PostQuitMessage(0);
    winsim::SetKeyDown(VK_CONTROL, true);
    winsim::Reset();
    EXPECT_FALSE(IsWindow(owner_) || IsMenu(menu_));
    EXPECT_EQ(0u, winsim::LiveMenuCount());
    EXPECT_TRUE(winsim::LiveWindows().empty());
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    WNDCLASSA wc;
    EXPECT_FALSE(GetClassInfoA(nullptr, "owner", &wc));
}

}  // namespace
