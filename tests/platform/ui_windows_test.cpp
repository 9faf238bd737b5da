// Window classes, windows, their creation and destruction messages, placement and properties.
#include "tests/platform/ui_contract.h"

namespace {

using contract::IndexOf;
using contract::kSentinel;
using contract::MessageLog;

constexpr DWORD kHiddenForm = 0x06CF0000;  // caption, system menu, sizing frame, both boxes, clipping

class WindowContract : public contract::UiContract {};

TEST_F(WindowContract, ClassRegistrationAndLookup) {
    WNDCLASSA again = {};
    again.lpfnWndProc = contract::LoggingProc;
    again.hInstance = instance_;
    again.lpszClassName = className_.c_str();
    SetLastError(kSentinel);
    EXPECT_EQ(0, RegisterClassA(&again));
    EXPECT_EQ(static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS), GetLastError());

    WNDCLASSA found = {};
    EXPECT_TRUE(GetClassInfoA(instance_, className_.c_str(), &found)) << "error " << GetLastError();
    EXPECT_EQ(reinterpret_cast<void*>(contract::LoggingProc), reinterpret_cast<void*>(found.lpfnWndProc));

    SetLastError(kSentinel);
    EXPECT_FALSE(GetClassInfoA(instance_, "mvorbel_no_such_class", &found));
    EXPECT_EQ(static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST), GetLastError());

    SetLastError(kSentinel);
    EXPECT_EQ(nullptr, CreateWindowExA(0, "mvorbel_no_such_class", "", 0, 0, 0, 10, 10, nullptr, nullptr,
                                       instance_, nullptr));
    if (contract::UnderWine()) {
        contract::NoteWineDeviation("CreateWindowExA with an unknown class fails with 1411, not 1407");
        EXPECT_EQ(static_cast<DWORD>(ERROR_CLASS_DOES_NOT_EXIST), GetLastError());
    } else {
        EXPECT_EQ(static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS), GetLastError());
    }
}

TEST_F(WindowContract, ChildWithoutParentIsRefused) {
    SetLastError(kSentinel);
    EXPECT_EQ(nullptr, Create(WS_CHILD));
    EXPECT_EQ(static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD), GetLastError());
}

TEST_F(WindowContract, CreationMessagesArriveBeforeCreateWindowReturns) {
    HWND hwnd = Create(kHiddenForm, WS_EX_CONTROLPARENT);
    ASSERT_NE(nullptr, hwnd) << "error " << GetLastError();
    int ncCreate = IndexOf(WM_NCCREATE), create = IndexOf(WM_CREATE), calc = IndexOf(WM_NCCALCSIZE);
    EXPECT_GE(ncCreate, 0);
    EXPECT_LT(ncCreate, calc) << "WM_NCCALCSIZE at " << calc;
    EXPECT_LT(calc, create) << "WM_CREATE at " << create;
    EXPECT_EQ(-1, IndexOf(WM_SHOWWINDOW)) << "a hidden window is not shown";
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_EQ(kHiddenForm, static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)));
    // The sizing frame earns the window edge.
    EXPECT_EQ(static_cast<DWORD>(WS_EX_CONTROLPARENT | WS_EX_WINDOWEDGE),
              static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE)));
    RECT rect = {};
    ASSERT_TRUE(GetWindowRect(hwnd, &rect));
    EXPECT_EQ(205, rect.left);
    EXPECT_EQ(98, rect.top);
    EXPECT_EQ(205 + 188, rect.right);
    EXPECT_EQ(98 + 127, rect.bottom);
    char text[32] = {};
    EXPECT_EQ(7, GetWindowTextA(hwnd, text, sizeof text));
    EXPECT_STREQ("mVorbel", text);
}

TEST_F(WindowContract, VisibleWindowIsShownAfterCreate) {
    HWND hwnd = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_LT(IndexOf(WM_CREATE), IndexOf(WM_SHOWWINDOW)) << "WM_SHOWWINDOW at " << IndexOf(WM_SHOWWINDOW);
    EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(WindowContract, DestroySendsDestroyThenNcDestroy) {
    HWND hwnd = Create(kHiddenForm);
    ASSERT_NE(nullptr, hwnd);
    MessageLog().clear();
    EXPECT_TRUE(DestroyWindow(hwnd));
    int destroy = IndexOf(WM_DESTROY), ncDestroy = IndexOf(WM_NCDESTROY);
    EXPECT_GE(destroy, 0);
    EXPECT_LT(destroy, ncDestroy);
    EXPECT_FALSE(IsWindow(hwnd));
    SetLastError(kSentinel);
    EXPECT_FALSE(DestroyWindow(hwnd));
    if (contract::UnderWine()) {
        contract::NoteWineDeviation("DestroyWindow on a destroyed window fails with 5, not 1400");
        EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    } else {
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
    }
}

TEST_F(WindowContract, DefaultCloseDestroysTheWindow) {
    HWND hwnd = Create(kHiddenForm);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(0, SendMessageA(hwnd, WM_CLOSE, 0, 0));
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(WindowContract, ShowWindowReportsPreviousVisibility) {
    HWND hwnd = Create(kHiddenForm);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_FALSE(ShowWindow(hwnd, SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_GE(IndexOf(WM_SHOWWINDOW), 0);
    EXPECT_TRUE(ShowWindow(hwnd, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_FALSE(ShowWindow(hwnd, SW_HIDE));
}

TEST_F(WindowContract, SetWindowPosMovesAndClientAreaIsInside) {
    HWND hwnd = Create(kHiddenForm);
    ASSERT_NE(nullptr, hwnd);
    ASSERT_TRUE(SetWindowPos(hwnd, nullptr, 205, 2050, 188, 127, SWP_NOZORDER | SWP_NOACTIVATE));
    RECT rect = {}, client = {};
    ASSERT_TRUE(GetWindowRect(hwnd, &rect));
    EXPECT_EQ(2050, rect.top);
    EXPECT_EQ(2050 + 127, rect.bottom);
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(0, client.left);
    EXPECT_EQ(0, client.top);
    EXPECT_LT(client.right, 188);
    EXPECT_LT(client.bottom, 127);
    EXPECT_GT(client.bottom, 0);
}

TEST_F(WindowContract, PropertiesAreKeptByName) {
    HWND hwnd = Create(kHiddenForm);
    ASSERT_NE(nullptr, hwnd);
    int value = 0;
    ASSERT_TRUE(SetPropA(hwnd, "SELF_", &value));
    EXPECT_EQ(&value, GetPropA(hwnd, "SELF_"));
    EXPECT_EQ(&value, GetPropA(hwnd, "self_")) << "property names ignore case";
    EXPECT_EQ(nullptr, GetPropA(hwnd, "OTHER"));
    EXPECT_EQ(&value, RemovePropA(hwnd, "SELF_"));
    EXPECT_EQ(nullptr, GetPropA(hwnd, "SELF_"));
    EXPECT_EQ(nullptr, RemovePropA(hwnd, "SELF_"));
    SetLastError(kSentinel);
    EXPECT_FALSE(SetPropA(reinterpret_cast<HWND>(0x7FFF0), "SELF_", &value));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
}

TEST_F(WindowContract, DefaultIconAndTextHandling) {
    HWND hwnd = Create(kHiddenForm);
    ASSERT_NE(nullptr, hwnd);
    HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(0, SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon)));
    EXPECT_EQ(reinterpret_cast<LRESULT>(icon), SendMessageA(hwnd, WM_SETICON, ICON_BIG, 0));
    EXPECT_TRUE(SetWindowTextA(hwnd, "other"));
    EXPECT_EQ(5, GetWindowTextLengthA(hwnd));
}

}  // namespace
