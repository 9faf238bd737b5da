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
    auto made = [](HWND hwnd) { return static_cast<BOOL>(hwnd != nullptr); };
    ExpectRefusals({
        {"register a class twice", [&] { return BOOL(RegisterClassA(&again)); },
         ERROR_CLASS_ALREADY_EXISTS},
        {"an unknown class", [&] { return GetClassInfoA(instance_, "mvorbel_none", &found); },
         ERROR_CLASS_DOES_NOT_EXIST},
        {"a window of an unknown class",
         [&] {
             return made(CreateWindowExA(0, "mvorbel_none", "", 0, 0, 0, 10, 10, nullptr, nullptr,
                                         instance_, nullptr));
         },
         ERROR_CANNOT_FIND_WND_CLASS,
         "CreateWindowExA with an unknown class fails with 1411, not 1407",
         ERROR_CLASS_DOES_NOT_EXIST},
        {"a child without a parent", [&] { return made(Create(WS_CHILD)); },
         ERROR_TLW_WITH_WSCHILD},
        {"destroy a destroyed window", [&] { return DestroyWindow(gone); },
         ERROR_INVALID_WINDOW_HANDLE,
         "DestroyWindow on a destroyed window fails with 5, not 1400", ERROR_ACCESS_DENIED},
        {"a property on no window", [&] { return SetPropA(gone, "SELF_", &value); },
         ERROR_INVALID_WINDOW_HANDLE},
        {"post to no window", [&] { return PostMessageA(gone, WM_APP, 0, 0); },
         ERROR_INVALID_WINDOW_HANDLE},
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
    EXPECT_EQ(kHiddenForm, DWORD(GetWindowLongA(hwnd, GWL_STYLE)));
    // The sizing frame earns the window edge.
    const DWORD edged = WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE;
    EXPECT_EQ(edged, DWORD(GetWindowLongA(hwnd, GWL_EXSTYLE)));
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
    EXPECT_FALSE(ShowWindow(hwnd, SW_SHOW)) << "the result is the previous visibility";
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(ShowWindow(hwnd, SW_HIDE));
    EXPECT_FALSE(ShowWindow(hwnd, SW_HIDE));
    MessageLog().clear();
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_GE(IndexOf(WM_DESTROY), 0);
    EXPECT_LT(IndexOf(WM_DESTROY), IndexOf(WM_NCDESTROY));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(0, SendMessageA(visible, WM_CLOSE, 0, 0));
    EXPECT_FALSE(IsWindow(visible)) << "the default WM_CLOSE destroys the window";
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
}

}  // namespace
}  // namespace contract
