#include "ui/message_loop.h"

#include <algorithm>
#include <cstdio>

#include "tests/ui/ui_test_support.h"

namespace mvorbel {
namespace {

struct Dispatched {
    UINT message;
    bool terminatedThen;
};
std::vector<Dispatched> dispatched;

bool RecordUserMessages(WindowObject*, MSG& message, LRESULT*) {
    if (message.message >= WM_USER || message.message == WM_NULL || message.message == WM_PAINT) {
        dispatched.push_back({message.message, terminated});
    }
    return false;
}

class MessageLoopTest : public testing::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        dispatched.clear();
        window = NewForm(nullptr, "mVorbel");
        applicationWindow = window;
        window->SetVisible(false);
        hwnd = window->GetHandle();
        // The walk skips every handler once terminated; the baseline shows what was dispatched.
        window->baseWindowProc = testing::RecordingBaseProc;
        window->AttachHandler(RecordUserMessages);
        testing::defaultProcessed.clear();
    }
    void TearDown() override {
        applicationWindow = window;
        Terminate(window);
    }
    WindowObject* window = nullptr;
    HWND hwnd = nullptr;
};

TEST_F(MessageLoopTest, PostedMessagesComeBeforeTheQuitAndTheDrainGoesOnAfterIt) {
    window->SetVisible(true);
    ProcessMessages(window);
    dispatched.clear();
    testing::defaultProcessed.clear();
    PostMessageA(hwnd, WM_USER + 1, 0, 0);
    PostQuitMessage(0);
    PostMessageA(hwnd, WM_USER + 2, 0, 0);
    // The platform hands out WM_PAINT only after WM_QUIT.
    InvalidateRect(hwnd, nullptr, TRUE);
    ProcessMessages(window);
    EXPECT_TRUE(terminated);
    ASSERT_EQ(dispatched.size(), 2u);
    EXPECT_EQ(dispatched[1].message, static_cast<UINT>(WM_USER + 2));
    EXPECT_FALSE(dispatched[1].terminatedThen) << "posted after the quit, retrieved before it";
    // WM_PAINT is still dispatched, though no handler is asked any more.
    EXPECT_EQ(std::count(testing::defaultProcessed.begin(), testing::defaultProcessed.end(), WM_PAINT), 1);
    MSG left = {};
    EXPECT_FALSE(PeekMessageA(&left, nullptr, 0, 0, PM_NOREMOVE)) << "left in the queue: " << left.message;
}

TEST_F(MessageLoopTest, APostedNullEndsOneDrain) {
    PostMessageA(hwnd, WM_USER + 1, 0, 0);
    PostMessageA(hwnd, WM_NULL, 0, 0);
    PostMessageA(hwnd, WM_USER + 2, 0, 0);
    ProcessMessages(window);
    ASSERT_EQ(dispatched.size(), 2u);
    EXPECT_EQ(dispatched[1].message, static_cast<UINT>(WM_NULL));
    ProcessMessages(window);
    ASSERT_EQ(dispatched.size(), 3u);
    EXPECT_EQ(dispatched[2].message, static_cast<UINT>(WM_USER + 2));
}

TEST_F(MessageLoopTest, TheSinglePumpSwallowsTheQuitMessage) {
    PostQuitMessage(0);
    EXPECT_TRUE(ProcessMessage(window));
    EXPECT_TRUE(terminated);
    EXPECT_FALSE(ProcessMessage(window));
}

TEST_F(MessageLoopTest, RunWaitsDispatchesAndReleasesTheWindow) {
    bool disposed = false;
    window->onDestroy = {[](void* flag, ObjectBase*) { *static_cast<bool*>(flag) = true; }, &disposed};
    winsim::ScriptWait([this] {
        PostMessageA(hwnd, WM_USER + 3, 0, 0);
        PostQuitMessage(0);
    });
    WindowObject* variable = window;
    window = nullptr;
    mvorbel::Run(variable);
    EXPECT_EQ(variable, nullptr);
    EXPECT_EQ(applicationWindow, nullptr);
    EXPECT_TRUE(disposed);
    EXPECT_FALSE(IsWindow(hwnd));
    ASSERT_EQ(dispatched.size(), 1u);
    EXPECT_EQ(dispatched[0].message, static_cast<UINT>(WM_USER + 3));
}

TEST_F(MessageLoopTest, RunWithTerminatedAlreadySetCreatesThenEndsAtOnce) {
    Terminate(window);  // the fixture's window is not the point here
    WindowObject* fresh = NewForm(nullptr, "mVorbel");
    fresh->SetVisible(false);
    terminated = true;
    mvorbel::Run(fresh);  // a WaitMessage here would throw winsim::Hang
    EXPECT_EQ(fresh, nullptr);
    EXPECT_TRUE(winsim::LiveWindows().empty()) << "the window was created and destroyed";
}

TEST_F(MessageLoopTest, EndOfLogonReleasesTheWindowAndExits) {
    SendMessageA(hwnd, WM_ENDSESSION, 0, 0);
    EXPECT_FALSE(terminated) << "wParam 0: the logon goes on";
    const auto endLogon = [this] {
        window->onDestroy = {[](void*, ObjectBase*) { std::fputs("disposed\n", stderr); }, nullptr};
        SendMessageA(hwnd, WM_ENDSESSION, 1, 0);
    };
    EXPECT_EXIT(endLogon(), ::testing::ExitedWithCode(0), "disposed");
}

}  // namespace
}  // namespace mvorbel
