// Window classes, windows and their messages, placement, properties, and the thread's queue.
#include "tests/platform/contract_fixture.h"

namespace contract {
namespace {

using WindowContract = UiContract;

TEST_F(WindowContract, Refusals) {
    WNDCLASSA again = {}, found = {};
    again.lpfnWndProc = LoggingProc;
    again.hInstance = instance_;
    again.lpszClassName = className_.c_str();
    HWND gone = Create();
    DestroyWindow(gone);
    int value = 0;
    ExpectRefusals({
        {"register a class twice", [&] { return RegisterClassA(&again); }, ERROR_CLASS_ALREADY_EXISTS},
        {"an unknown class", [&] { return GetClassInfoA(instance_, "mvorbel_none", &found); },
         ERROR_CLASS_DOES_NOT_EXIST},
        {"a window of an unknown class",
         [&] { return CreateWindowExA(0, "mvorbel_none", "", 0, 0, 0, 10, 10, nullptr, nullptr, instance_, nullptr); },
         ERROR_CANNOT_FIND_WND_CLASS, "CreateWindowExA with an unknown class fails with 1411, not 1407",
         ERROR_CLASS_DOES_NOT_EXIST},
        {"a child without a parent", [&] { return Create(WS_CHILD); }, ERROR_TLW_WITH_WSCHILD},
        {"destroy a destroyed window", [&] { return DestroyWindow(gone); }, ERROR_INVALID_WINDOW_HANDLE,
         "DestroyWindow on a destroyed window fails with 5, not 1400", ERROR_ACCESS_DENIED},
        {"a property on no window", [&] { return SetPropA(gone, "SELF_", &value); }, ERROR_INVALID_WINDOW_HANDLE},
        {"post to no window", [&] { return PostMessageA(gone, WM_APP, 0, 0); }, ERROR_INVALID_WINDOW_HANDLE},
        {"caption of no window", [&] { return SetWindowTextA(gone, "x"); }, ERROR_INVALID_WINDOW_HANDLE},
        {"invalidate no window", [&] { return InvalidateRect(gone, nullptr, TRUE); }, ERROR_INVALID_WINDOW_HANDLE},
        {"focus no window", [&] { return SetFocus(gone); }, ERROR_INVALID_WINDOW_HANDLE},
        {"foreground no window", [&] { return SetForegroundWindow(gone); }, ERROR_INVALID_WINDOW_HANDLE},
        {"is no window iconic", [&] { return IsIconic(gone); }, ERROR_INVALID_WINDOW_HANDLE},
        {"is no window zoomed", [&] { return IsZoomed(gone); }, ERROR_INVALID_WINDOW_HANDLE},
        {"is no window enabled", [&] { return IsWindowEnabled(gone); }, ERROR_INVALID_WINDOW_HANDLE},
    });
    EXPECT_TRUE(GetClassInfoA(instance_, className_.c_str(), &found)) << "error " << GetLastError();
    EXPECT_EQ(reinterpret_cast<void*>(LoggingProc), reinterpret_cast<void*>(found.lpfnWndProc));
}

TEST_F(WindowContract, TheMainWindowIsCreatedHiddenWhereAsked) {
    HWND hwnd = Create(kHiddenForm, WS_EX_CONTROLPARENT);
    ASSERT_NE(nullptr, hwnd) << "error " << GetLastError();
    int ncCreate = IndexOf(WM_NCCREATE), create = IndexOf(WM_CREATE);
    EXPECT_GE(ncCreate, 0);
    EXPECT_LT(ncCreate, create) << "WM_CREATE at " << create;
    EXPECT_EQ(-1, IndexOf(WM_SHOWWINDOW)) << "a hidden window is not shown";
    EXPECT_FALSE(IsWindowVisible(hwnd));
    RECT rect = {}, client = {};
    auto corners = [&] { return std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}; };
    ASSERT_TRUE(GetWindowRect(hwnd, &rect));
    EXPECT_EQ((std::vector<LONG>{205, 98, 205 + 188, 98 + 127}), corners());
    ASSERT_TRUE(SetWindowPos(hwnd, nullptr, 205, 2050, 188, 127, SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(GetWindowRect(hwnd, &rect));
    EXPECT_EQ((std::vector<LONG>{205, 2050, 205 + 188, 2050 + 127}), corners());
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(0, client.left + client.top);
    EXPECT_TRUE(client.right < 188 && client.bottom < 127 && client.bottom > 0)
        << client.right << "x" << client.bottom;
    HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(0, SendMessageA(hwnd, WM_SETICON, ICON_BIG, LPARAM(icon)));
    EXPECT_EQ(LRESULT(icon), SendMessageA(hwnd, WM_SETICON, ICON_BIG, 0)) << "the previous icon";
}

TEST_F(WindowContract, ShowingHidingAndDestroying) {
    HWND visible = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_NE(nullptr, visible);
    int shown = IndexOf(WM_SHOWWINDOW);
    EXPECT_LT(IndexOf(WM_CREATE), shown) << "WM_SHOWWINDOW at " << shown;
    EXPECT_TRUE(IsWindowVisible(visible));
    HWND hwnd = Create();
    MessageLog().clear();
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_GE(IndexOf(WM_DESTROY), 0);
    EXPECT_LT(IndexOf(WM_DESTROY), IndexOf(WM_NCDESTROY));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(0, SendMessageA(visible, WM_CLOSE, 0, 0));
    EXPECT_FALSE(IsWindow(visible)) << "the default WM_CLOSE destroys the window";
}

// What the Main window reads back before it is hidden by its owner, to show it again the same way.
// ShowWindow answers with the visibility before the call.
TEST_F(WindowContract, MinimizedAndMaximizedStateFollowsTheShowCommand) {
    HWND hwnd = Create();
    struct Row {
        int command;
        BOOL was, iconic, zoomed, visible;
    };
    const Row rows[] = {
        {SW_SHOW, FALSE, FALSE, FALSE, TRUE},          {SW_HIDE, TRUE, FALSE, FALSE, FALSE},
        {SW_HIDE, FALSE, FALSE, FALSE, FALSE},         {SW_SHOWNOACTIVATE, FALSE, FALSE, FALSE, TRUE},
        {SW_SHOWMINNOACTIVE, TRUE, TRUE, FALSE, TRUE}, {SW_HIDE, TRUE, TRUE, FALSE, FALSE},
        {SW_SHOWMAXIMIZED, FALSE, FALSE, TRUE, TRUE},  {SW_HIDE, TRUE, FALSE, TRUE, FALSE},
        {SW_SHOWNOACTIVATE, FALSE, FALSE, FALSE, TRUE}, {SW_MINIMIZE, TRUE, TRUE, FALSE, TRUE},
        {SW_RESTORE, TRUE, FALSE, FALSE, TRUE},
    };
    std::string got, expected;
    auto line = [](int command, BOOL was, BOOL iconic, BOOL zoomed, BOOL visible) {
        return std::to_string(command) + ":" + std::to_string(was) + std::to_string(iconic) + std::to_string(zoomed) +
               std::to_string(visible) + " ";
    };
    for (const auto& row : rows) {
        BOOL was = ShowWindow(hwnd, row.command) != FALSE;
        got += line(row.command, was, IsIconic(hwnd), IsZoomed(hwnd), IsWindowVisible(hwnd));
        expected += line(row.command, row.was, row.iconic, row.zoomed, row.visible);
    }
    EXPECT_EQ(expected, got) << "command:was iconic zoomed visible";
    EXPECT_TRUE(IsWindowEnabled(hwnd));
    EXPECT_FALSE(IsWindowEnabled(Create(kHiddenForm | WS_DISABLED)));
}

TEST_F(WindowContract, FocusForegroundAndCapture) {
    HWND form = Create(kHiddenForm | WS_VISIBLE);
    ASSERT_NE(nullptr, form);
    EXPECT_TRUE(SetForegroundWindow(form)) << "error " << GetLastError();
    EXPECT_EQ(form, GetFocus()) << "activation gives the focus to the window itself";
    // Children: focus moves inside the active window, without the display taking part.
    HWND first = Create(WS_CHILD | WS_VISIBLE, 0, form), second = Create(WS_CHILD | WS_VISIBLE, 0, form);
    HWND disabled = Create(WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, form);
    ASSERT_TRUE(first && second && disabled);
    EXPECT_EQ(form, SetFocus(first)) << "SetFocus returns the window that had the focus";
    EXPECT_EQ(first, GetFocus());
    EXPECT_EQ(first, SetFocus(second));
    EXPECT_EQ(nullptr, SetFocus(disabled)) << "a disabled window takes no focus";
    EXPECT_EQ(second, GetFocus());
    EXPECT_EQ(nullptr, GetCapture()) << "nothing captured the mouse";
}

TEST_F(WindowContract, CaptionPaintingAndTheDefaultProcedure) {
    HWND hwnd = Create(kHiddenForm | WS_VISIBLE);
    Drain();
    MessageLog().clear();
    SetLastError(kSentinel);
    ASSERT_TRUE(SetWindowTextA(hwnd, "Caption")) << "error " << GetLastError();
    EXPECT_GE(IndexOf(WM_SETTEXT), 0) << "the text goes through the window procedure";
    EXPECT_EQ(7, CallWindowProcA(DefWindowProcA, hwnd, WM_GETTEXTLENGTH, 0, 0));

    EXPECT_TRUE(CallWindowProcA(DefWindowProcA, hwnd, WM_SETTEXT, 0, LPARAM("Other")));
    EXPECT_EQ(5, CallWindowProcA(DefWindowProcA, hwnd, WM_GETTEXTLENGTH, 0, 0));
    MessageLog().clear();
    EXPECT_EQ(0, CallWindowProcA(LoggingProc, hwnd, WM_APP + 4, 0, 0));
    EXPECT_EQ(0, IndexOf(WM_APP + 4)) << "the procedure is called directly";

    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_NOREMOVE)) << "painted";
    SetLastError(kSentinel);
    EXPECT_TRUE(InvalidateRect(hwnd, nullptr, TRUE));
    EXPECT_TRUE(PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_NOREMOVE)) << "due again";
    EXPECT_TRUE(InvalidateRect(nullptr, nullptr, TRUE)) << "a null window: every window";
}

TEST_F(WindowContract, PropertiesAreKeptByNameInAnyCase) {
    HWND hwnd = Create();
    int value = 0;
    ASSERT_TRUE(SetPropA(hwnd, "SELF_", &value));
    EXPECT_EQ(&value, GetPropA(hwnd, "self_"));
    EXPECT_EQ(nullptr, GetPropA(hwnd, "OTHER"));
    EXPECT_EQ(&value, RemovePropA(hwnd, "SELF_"));
    EXPECT_EQ(nullptr, GetPropA(hwnd, "SELF_"));
}

using QueueContract = UiContract;

// The scan code a keyboard would send with the key (set 1).
UINT MapScan(WPARAM key) {
    switch (key) {
        case 'A': return 0x1E;
        case VK_RETURN: return 0x1C;
        case VK_ESCAPE: return 0x01;
        case VK_LEFT: return 0x4B;
    }
    return 0;
}

TEST_F(QueueContract, PostedMessagesInOrderThenQuitOnce) {
    HWND hwnd = Create();
    ASSERT_TRUE(PostMessageA(hwnd, WM_APP + 1, 11, 0));
    PostQuitMessage(7);
    ASSERT_TRUE(PostMessageA(hwnd, WM_NULL, 0, 0));
    ASSERT_TRUE(PostMessageA(nullptr, WM_APP + 3, 0, 0));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, WM_APP + 1, WM_APP + 1, PM_NOREMOVE));
    std::string got;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT && msg.message != WM_NULL && msg.message <= WM_APP) {
            DispatchMessageA(&msg);
            continue;
        }
        got += std::to_string(msg.message - (msg.message > WM_APP ? WM_APP : 0)) + "/" +
               std::to_string(msg.wParam) + (msg.hwnd == hwnd ? "w " : " ");
    }
    EXPECT_EQ("1/11w 0/0w 3/0 18/7 ", got) << "posted messages, WM_NULL too, come before the quit";
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit comes once";

    ASSERT_TRUE(PostMessageA(hwnd, WM_APP + 1, 0, 0));
    ASSERT_TRUE(PostMessageA(hwnd, WM_APP + 2, 0, 0));
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, WM_APP + 2, WM_APP + 2, PM_REMOVE));
    EXPECT_EQ(UINT{WM_APP + 2}, msg.message) << "the range skips the earlier message";
    MessageLog().clear();
    ASSERT_TRUE(PeekMessageA(&msg, hwnd, WM_APP + 1, WM_APP + 1, PM_REMOVE));
    EXPECT_EQ(-1, IndexOf(WM_APP + 1)) << "retrieving calls nothing";
    DispatchMessageA(&msg);
    EXPECT_GE(IndexOf(WM_APP + 1), 0);
    SendMessageA(hwnd, WM_APP + 6, 0, 0);
    EXPECT_GE(IndexOf(WM_APP + 6), 0) << "sending calls the procedure at once";

    ASSERT_TRUE(PostMessageA(hwnd, WM_APP + 7, 0, 0));
    EXPECT_TRUE(WaitMessage()) << "a posted message ends the wait at once";
}

// Key messages translate to the characters the message loop dispatches next.
TEST_F(QueueContract, TranslateMessagePostsTheKeysCharacter) {
    HWND hwnd = Create();
    struct Row {
        UINT message;
        WPARAM key;
        BOOL translated;
        WPARAM character;  // 0: none posted
        const char* wineDeviation = nullptr;
    };
    const Row rows[] = {
        {WM_KEYDOWN, 'A', TRUE, 'a'},         {WM_KEYDOWN, VK_RETURN, TRUE, '\r'},
        {WM_KEYDOWN, VK_ESCAPE, TRUE, 0x1B},  {WM_KEYDOWN, VK_LEFT, TRUE, 0},
        {WM_KEYUP, 'A', TRUE, 0},
        {WM_CHAR, 'a', FALSE, 0, "TranslateMessage answers TRUE for WM_CHAR, which it never translates"},
        {WM_APP, 'A', FALSE, 0},
    };
    Drain();
    for (const auto& row : rows) {
        MSG key = {hwnd, row.message, row.key, 1 | (LPARAM(MapScan(row.key)) << 16), 0, {}};
        BOOL translated = TranslateMessage(&key) != FALSE;
        if (row.wineDeviation && UnderWine() && translated != row.translated)
            NoteWineDeviation(row.wineDeviation);
        else
            EXPECT_EQ(row.translated, translated) << row.message << "/" << row.key;
        MSG msg = {};
        BOOL posted = PeekMessageA(&msg, hwnd, WM_CHAR, WM_CHAR, PM_REMOVE);
        EXPECT_EQ(row.character, posted ? msg.wParam : 0) << row.message << "/" << row.key;
    }
}

}  // namespace
}  // namespace contract
