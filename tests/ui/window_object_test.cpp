#include "ui/window_object.h"

#include <utility>

#include "tests/ui/ui_test_support.h"

namespace mvorbel {
namespace {

using testing::defaultProcessed;

struct Seen {
    UINT message;
    HWND hwndArgument;
    HWND objectHandle;
    int handler;
};
std::vector<Seen> seen;

template <int N>
bool Recorder(WindowObject* window, MSG& message, LRESULT*) {
    seen.push_back({message.message, message.hwnd, window->handle, N});
    return false;
}

bool ClaimsUser(WindowObject*, MSG& message, LRESULT* result) {
    if (message.message != WM_USER) return false;
    *result = 42;
    return true;
}

class WindowObjectTest : public testing::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        seen.clear();
    }
    void TearDown() override {
        if (window == nullptr) return;
        applicationWindow = window;
        Terminate(window);
    }
    // A window with the recording base procedure, so default processing is visible.
    void MakeForm() {
        window = NewForm(nullptr, "mVorbel");
        applicationWindow = window;
        window->baseWindowProc = testing::RecordingBaseProc;
    }
    WindowObject* window = nullptr;
};

TEST_F(WindowObjectTest, MainWindowIsCreatedAsTheChooserNeedsIt) {
    winsim::AddIconResource(GetModuleHandleA(nullptr), "MAINICON");
    testing::MainWindow main = testing::BuildMainWindow();
    window = main.window;
    const HWND hwnd = window->GetHandle();
    ASSERT_NE(hwnd, nullptr);

    WNDCLASSA registered = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "obj_Form", &registered));
    EXPECT_EQ(registered.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(registered.lpfnWndProc, &EntryWindowProc);

    const auto info = winsim::DescribeWindow(hwnd);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->className, "obj_Form");
    EXPECT_EQ(info->text, "mVorbel");
    EXPECT_EQ(static_cast<DWORD>(info->created.style), 0x06CF0000u);
    EXPECT_EQ(info->created.dwExStyle, static_cast<DWORD>(WS_EX_CONTROLPARENT));
    EXPECT_EQ(info->created.x, 205);
    EXPECT_EQ(info->created.y, 98);
    EXPECT_EQ(info->created.cx, 188);
    EXPECT_EQ(info->created.cy, 127);
    EXPECT_EQ(info->created.hwndParent, nullptr);
    EXPECT_EQ(info->created.hMenu, main.menuBar->menuHandle.get());
    EXPECT_EQ(info->bigIcon, LoadIconA(GetModuleHandleA(nullptr), "MAINICON"));
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_EQ(GetPropA(hwnd, "SELF_"), static_cast<HANDLE>(window));
}

TEST_F(WindowObjectTest, MessagesReachTheObjectDuringAndAfterCreation) {
    MakeForm();
    window->AttachHandler(Recorder<1>);
    const HWND hwnd = window->GetHandle();
    ASSERT_FALSE(seen.empty());
    // The very first message already finds its object, with the handle set.
    EXPECT_EQ(seen.front().objectHandle, hwnd) << "first message " << seen.front().message;
    EXPECT_EQ(creatingWindow, nullptr);
    seen.clear();
    SendMessageA(hwnd, WM_USER + 7, 0, 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_USER + 7));
}

TEST_F(WindowObjectTest, HandlersAreAskedNewestFirstOnceEachAndNotAfterTermination) {
    MakeForm();
    window->AttachHandler(Recorder<1>);
    window->AttachHandler(Recorder<2>);
    window->AttachHandler(Recorder<1>);
    window->AttachHandler(ClaimsUser);
    const HWND hwnd = window->GetHandle();
    seen.clear();
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), 42);
    EXPECT_TRUE(seen.empty()) << "the newest handler claims WM_USER first";
    SendMessageA(hwnd, WM_USER + 1, 0, 0);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].handler, 2);
    EXPECT_EQ(seen[1].handler, 1);

    terminated = true;
    seen.clear();
    defaultProcessed.clear();
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), 0);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(defaultProcessed, std::vector<UINT>{WM_USER});
}

TEST_F(WindowObjectTest, CloseOnlyPostsTheQuitMessage) {
    MakeForm();
    const HWND hwnd = window->GetHandle();
    EXPECT_EQ(SendMessageA(hwnd, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(hwnd));
    MSG message = {};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
}

struct KeyCase {
    UINT message;
    WPARAM wParam;
    bool ctrlDown;
    bool focusElsewhere;
    bool defaultRuns;
};

class KeyboardTest : public WindowObjectTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyboardTest, TabIsSwallowedUnlessCtrlOrAnotherWindowHasTheFocus) {
    const KeyCase& key = GetParam();
    MakeForm();
    const HWND hwnd = window->GetHandle();
    winsim::SetKeyDown(VK_CONTROL, key.ctrlDown);
    WindowObject* other = nullptr;
    if (key.focusElsewhere) {
        other = NewForm(nullptr, "other");
        SetFocus(other->GetHandle());
    } else {
        SetFocus(hwnd);
    }
    defaultProcessed.clear();
    EXPECT_EQ(SendMessageA(hwnd, key.message, key.wParam, 0), 0);
    EXPECT_EQ(!defaultProcessed.empty(), key.defaultRuns)
        << "message " << key.message << " wParam " << key.wParam << " ctrl " << key.ctrlDown;
    ObjectBase::Release(other);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeyboardTest,
                         ::testing::Values(KeyCase{WM_CHAR, '\t', false, false, false},
                                           KeyCase{WM_CHAR, '\t', true, false, true},
                                           KeyCase{WM_CHAR, 'a', false, false, true},
                                           KeyCase{WM_KEYDOWN, VK_TAB, false, false, true},
                                           KeyCase{WM_CHAR, 'a', false, true, false}));

TEST_F(WindowObjectTest, SizeAndBoundsFollowTheirRules) {
    window = NewForm(nullptr, "x");
    window->SetSize(0, 127);
    EXPECT_EQ(window->bounds.right, 0);
    EXPECT_EQ(window->bounds.bottom, 127);
    EXPECT_EQ(window->positionSet, 0) << "size alone sets no position";
    window->SetBoundsRect(window->GetBoundsRect());
    EXPECT_EQ(window->positionSet, 0);
    window->SetSize(-5, 40);
    EXPECT_EQ(window->bounds.right, 0);
    window->SetVisible(false);
    const auto info = winsim::DescribeWindow(window->GetHandle());
    ASSERT_TRUE(info);
    // Never positioned, no width: the platform chooses.
    EXPECT_EQ(info->created.x, CW_USEDEFAULT);
    EXPECT_EQ(info->created.y, CW_USEDEFAULT);
    EXPECT_EQ(info->created.cx, CW_USEDEFAULT);
    EXPECT_EQ(info->created.cy, 40);
}

TEST_F(WindowObjectTest, ASecondFormReusesTheRegisteredClass) {
    window = NewForm(nullptr, "a");
    ASSERT_NE(window->GetHandle(), nullptr);
    winsim::FailCall("RegisterClassA", 1, ERROR_NOT_ENOUGH_MEMORY);
    WindowObject* second = NewForm(nullptr, "b");
    EXPECT_NE(second->GetHandle(), nullptr) << "the class must not be registered again";
    ObjectBase::Release(second);
}

TEST_F(WindowObjectTest, EraseBackgroundPaintsButtonFaceAndStillDefaultProcesses) {
    winsim::SetSysColor(COLOR_BTNFACE, RGB(1, 2, 3));
    MakeForm();
    const HWND hwnd = window->GetHandle();
    const HDC dc = GetDC(hwnd);
    defaultProcessed.clear();
    const LRESULT result = SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(result, DefWindowProcA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    EXPECT_EQ(defaultProcessed, std::vector<UINT>{WM_ERASEBKGND});
    ASSERT_FALSE(winsim::Fills().empty());
    EXPECT_EQ(winsim::Fills().back().color, RGB(1, 2, 3));
    EXPECT_EQ(winsim::Fills().back().bkMode, OPAQUE);
    // One brush per colour, however often the window is painted.
    SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(winsim::LiveGdiObjectCount(), 1u);
    ReleaseDC(hwnd, dc);
}

}  // namespace
}  // namespace mvorbel
