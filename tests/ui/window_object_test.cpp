#include "ui/window_object.h"

#include <array>
#include <string>
#include <tuple>

#include "tests/ui/ui_test_support.h"

namespace mvorbel {
namespace {

using testing::defaultProcessed;

std::string seen;  // the handlers asked, by number; "?" where the object had no handle yet

template <char N>
bool Recorder(WindowObject* window, MSG&, LRESULT*) {
    seen += window->handle != nullptr ? N : '?';
    return false;
}

bool ClaimsUser(WindowObject*, MSG& message, LRESULT* result) {
    if (message.message != WM_USER) return false;
    *result = 42;
    return true;
}

using WindowObjectTest = testing::UiTest;

TEST_F(WindowObjectTest, MainWindowIsCreatedAsTheChooserNeedsItAndItsFirstMessageFindsIt) {
    BuildMainWindow();
    seen.clear();
    window->AttachHandler(Recorder<'1'>);
    const auto info = winsim::DescribeWindow(window->GetHandle());
    EXPECT_TRUE(!seen.empty() && seen.find('?') == std::string::npos) << "at creation: " << seen;
    WNDCLASSA registered = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "obj_Form", &registered) && info);
    EXPECT_EQ(registered.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(info->className, "obj_Form");
    EXPECT_EQ(static_cast<DWORD>(info->created.style), 0x06CF0000u);
    EXPECT_EQ(info->created.dwExStyle, static_cast<DWORD>(WS_EX_CONTROLPARENT));
    EXPECT_EQ((std::array{info->created.x, info->created.y, info->created.cx, info->created.cy}),
              (std::array{205, 98, 188, 127}));
    EXPECT_EQ(info->created.hMenu, menuBar->menuHandle.get());
    EXPECT_EQ(info->bigIcon, LoadIconA(GetModuleHandleA(nullptr), "MAINICON"));
}

TEST_F(WindowObjectTest, HandlersAreAskedNewestFirstOnceEachAndNotAfterTermination) {
    const HWND hwnd = MakeForm()->GetHandle();
    for (auto handler : {Recorder<'1'>, Recorder<'2'>, Recorder<'1'>, ClaimsUser}) {
        window->AttachHandler(handler);
    }
    seen.clear();
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), 42);
    SendMessageA(hwnd, WM_USER + 1, 0, 0);
    EXPECT_EQ(seen, "21") << "the newest claims WM_USER first";
    terminated = true;
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), 0);
    EXPECT_EQ(seen, "21");
}

// Close ends the run without destroying the window; Tab would beep in a window without dialog
// navigation; keys for another window are not the form's.
TEST_F(WindowObjectTest, BuiltInCasesTurnCloseIntoQuitAndSwallowTab) {
    const std::tuple<UINT, WPARAM, bool, bool, bool> cases[] = {
        {WM_CHAR, '\t', false, false, false}, {WM_CHAR, '\t', true, false, true},
        {WM_CHAR, 'a', false, false, true},   {WM_KEYDOWN, VK_TAB, false, false, true},
        {WM_CHAR, 'a', false, true, false},   {WM_CLOSE, 0, false, false, false}};
    const HWND hwnd = MakeForm()->GetHandle();
    WindowObject* other = NewForm(nullptr, "other");
    for (const auto& [message, wParam, ctrlDown, focusElsewhere, defaultRuns] : cases) {
        winsim::SetKeyDown(VK_CONTROL, ctrlDown);
        SetFocus(focusElsewhere ? other->GetHandle() : hwnd);
        defaultProcessed.clear();
        EXPECT_EQ(SendMessageA(hwnd, message, wParam, 0), 0);
        EXPECT_EQ(!defaultProcessed.empty(), defaultRuns)
            << "message " << message << " wParam " << wParam << " ctrl " << ctrlDown;
    }
    ObjectBase::Release(other);
    EXPECT_TRUE(ProcessMessage(window) && terminated) << "no quit message posted";
    EXPECT_TRUE(IsWindow(hwnd));
}

}  // namespace
}  // namespace mvorbel
