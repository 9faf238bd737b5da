// Window classes, windows and their messages, placement, properties, painting, icons, cursors and
// keys, and the thread's queue.
#include "tests/platform/contract_fixture.h"

namespace contract {
namespace {

// The framework registers a class only when GetClassInfoA does not find it, and ties the window
// to its object in the first message, which comes before CreateWindowExA returns.
TEST_F(UiContract, TheMainWindowIsCreatedHiddenWhereAskedShownAndDestroyed) {
    WNDCLASSA found = {};
    EXPECT_FALSE(GetClassInfoA(instance_, "mvorbel_none", &found));
    ASSERT_TRUE(GetClassInfoA(instance_, kClass, &found)) << "error " << GetLastError();
    EXPECT_EQ(reinterpret_cast<void*>(LoggingProc), reinterpret_cast<void*>(found.lpfnWndProc));
    HWND hwnd = Create(kHiddenForm, WS_EX_CONTROLPARENT);
    ASSERT_NE(nullptr, hwnd) << "error " << GetLastError();
    int ncCreate = IndexOf(WM_NCCREATE), create = IndexOf(WM_CREATE);
    EXPECT_TRUE(0 <= ncCreate && ncCreate < create) << ncCreate << " then " << create;
    EXPECT_FALSE(IsWindowVisible(hwnd));
    RECT rect = {};
    auto corners = [&] {
        EXPECT_TRUE(GetWindowRect(hwnd, &rect));
        return std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom};
    };
    EXPECT_EQ((std::vector<LONG>{205, 98, 205 + 188, 98 + 127}), corners());
    // Where the framework parks an owner that must be shown for its popup but not seen.
    ASSERT_TRUE(SetWindowPos(hwnd, nullptr, 205, 2050, 188, 127, SWP_NOZORDER | SWP_NOACTIVATE));
    EXPECT_EQ((std::vector<LONG>{205, 2050, 205 + 188, 2050 + 127}), corners());
    // A window other than the application's gets a copy of the application's icon, and hands it
    // back when it goes: destroying it is the caller's.
    const HICON shared = LoadIconA(nullptr, IDI_APPLICATION);
    const auto copy = static_cast<HICON>(CopyImage(shared, IMAGE_ICON, 0, 0, 0));
    ASSERT_TRUE(shared && copy && copy != shared) << shared << " " << copy << ": error " << GetLastError();
    EXPECT_EQ(0, SendMessageA(hwnd, WM_SETICON, ICON_BIG, LPARAM(copy)));
    EXPECT_EQ(LRESULT(copy), SendMessageA(hwnd, WM_SETICON, ICON_BIG, 0)) << "the previous icon";
    EXPECT_TRUE(DestroyIcon(copy));
    EXPECT_EQ(shared, LoadIconA(nullptr, IDI_APPLICATION)) << "the shared icon is untouched";

    // What the framework reads back before a window is hidden with its owner, to show it again the
    // same way. After each command: iconic, zoomed, visible.
    const std::pair<int, const char*> rows[] = {
        {SW_SHOW, "001"},           {SW_HIDE, "000"}, {SW_SHOWMINNOACTIVE, "101"}, {SW_HIDE, "100"},
        {SW_SHOWMAXIMIZED, "011"}, {SW_HIDE, "010"}, {SW_SHOWNOACTIVATE, "001"},
    };
    for (auto [command, expected] : rows) {
        ShowWindow(hwnd, command);
        const BOOL got[] = {IsIconic(hwnd), IsZoomed(hwnd), IsWindowVisible(hwnd)};
        EXPECT_EQ(expected, std::to_string(got[0] != 0) + std::to_string(got[1] != 0) + std::to_string(got[2] != 0))
            << "after command " << command;
    }
    EXPECT_TRUE(IsWindowEnabled(hwnd));

    // The framework takes its menu bar off before the window goes, so that the bar is destroyed once.
    HMENU bar = CreateMenu();
    ASSERT_TRUE(SetMenu(hwnd, bar));
    EXPECT_TRUE(DrawMenuBar(hwnd));
    ASSERT_TRUE(SetMenu(hwnd, nullptr));
    EXPECT_TRUE(IsMenu(bar)) << "taking a menu off a window does not destroy it";
    ASSERT_TRUE(SetMenu(hwnd, bar));

    // The framework unties the object on WM_NCDESTROY, the last message a window gets.
    EXPECT_TRUE(DestroyWindow(hwnd));
    int destroy = IndexOf(WM_DESTROY), ncDestroy = IndexOf(WM_NCDESTROY);
    EXPECT_TRUE(0 <= destroy && destroy < ncDestroy) << destroy << " then " << ncDestroy;
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(IsMenu(bar)) << "a window destroys its menu bar";
}

// Before its popup the owner is brought to the foreground and given the focus; its keyboard
// handling looks at which window has it, its cursor handling at whether the mouse is captured.
// Every window of the framework's classes has the shared arrow; the chooser's popup opens where
// the cursor is; Ctrl held takes the other path.
TEST_F(UiContract, FocusCursorKeysCaptionPaintAndProperties) {
    HWND form = Create(kHiddenForm | WS_VISIBLE);
    EXPECT_TRUE(SetForegroundWindow(form)) << "error " << GetLastError();
    EXPECT_EQ(form, SetFocus(form)) << "activation gives the focus to the window itself";
    EXPECT_EQ(form, GetFocus());
    EXPECT_EQ(nullptr, GetCapture()) << "nothing captured the mouse";
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(nullptr, arrow);
    SetCursor(arrow);
    EXPECT_EQ(arrow, SetCursor(nullptr)) << "SetCursor returns the previous cursor";
    POINT cursor = {-1, -1};
    EXPECT_TRUE(SetCursorPos(300, 200) && GetCursorPos(&cursor) && cursor.x == 300 && cursor.y == 200)
        << cursor.x << "," << cursor.y << ": error " << GetLastError();
    EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "Ctrl is up: the high bit, the sign, is clear";

    Drain();
    ASSERT_TRUE(SetWindowTextA(form, "Caption")) << "error " << GetLastError();
    EXPECT_EQ(7, CallWindowProcA(DefWindowProcA, form, WM_GETTEXTLENGTH, 0, 0));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, form, WM_PAINT, WM_PAINT, PM_NOREMOVE)) << "painted";
    EXPECT_TRUE(InvalidateRect(form, nullptr, TRUE));
    EXPECT_TRUE(PeekMessageA(&msg, form, WM_PAINT, WM_PAINT, PM_NOREMOVE)) << "due again";
    // The background handler sets mode, colour and brush origin on the DC it is given, then fills
    // the client area with a brush of the button face colour, which it deletes when the colour changes.
    HDC dc = GetDC(form);
    EXPECT_EQ(OPAQUE, SetBkMode(dc, OPAQUE)) << "a fresh DC is opaque";
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(0u, face >> 24) << "an RGB value: " << std::hex << face;
    EXPECT_EQ(RGB(255, 255, 255), SetBkColor(dc, face)) << "a fresh DC's is white";
    EXPECT_TRUE(SetBrushOrgEx(dc, 0, 0, nullptr));
    const HBRUSH brush = CreateSolidBrush(face);
    RECT client = {};
    ASSERT_TRUE(dc && brush && GetClientRect(form, &client)) << dc << " " << brush << ": error " << GetLastError();
    EXPECT_TRUE(client.left == 0 && client.top == 0 && client.right < 188 && client.bottom < 127 && client.bottom > 0)
        << client.left << "," << client.top << " " << client.right << "x" << client.bottom;
    EXPECT_NE(0, FillRect(dc, &client, brush));
    EXPECT_EQ(1, ReleaseDC(form, dc));
    EXPECT_TRUE(DeleteObject(brush));

    int value = 0;
    EXPECT_EQ(nullptr, GetPropA(form, "SELF_")) << "not yet tied to its object";
    ASSERT_TRUE(SetPropA(form, "SELF_", &value));
    EXPECT_EQ(&value, GetPropA(form, "self_"));
    EXPECT_EQ(&value, RemovePropA(form, "SELF_"));
}

// The run's single-message pump takes anything, the Ctrl path's only the owner's WM_COMMAND; a
// quit message posted behind other messages comes after them.
TEST_F(UiContract, PostedMessagesInOrderThenQuitOnceAndKeysTranslated) {
    HWND hwnd = Create();
    ASSERT_TRUE(PostMessageA(hwnd, WM_APP + 1, 11, 0));
    ASSERT_TRUE(PostMessageA(hwnd, WM_COMMAND, 4096, 0));
    PostQuitMessage(7);
    ASSERT_TRUE(PostMessageA(hwnd, WM_NULL, 0, 0));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(WPARAM{4096}, msg.wParam) << "the filter skips the earlier message";
    messageLog.clear();
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT) DispatchMessageA(&msg);
    EXPECT_TRUE(msg.message == WM_QUIT && msg.wParam == 7) << msg.message << "/" << msg.wParam;
    int app = IndexOf(WM_APP + 1), null = IndexOf(WM_NULL);
    EXPECT_TRUE(0 <= app && app < null) << app << " then " << null << ": posted messages, WM_NULL too, dispatched";
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit comes once";
    ASSERT_TRUE(PostMessageA(hwnd, WM_APP + 7, 0, 0));
    EXPECT_TRUE(WaitMessage()) << "a posted message ends the wait at once";
    Drain();

    // Every message of the run goes through TranslateMessage; Tab's character comes next.
    MSG tab = {hwnd, WM_KEYDOWN, VK_TAB, 1 | (0x0F << 16), 0, {}};
    EXPECT_TRUE(TranslateMessage(&tab));
    EXPECT_TRUE(PeekMessageA(&msg, hwnd, WM_CHAR, WM_CHAR, PM_REMOVE) && msg.wParam == '\t') << msg.wParam;
}

}  // namespace
}  // namespace contract
