#include "ui/message_loop.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "tests/ui/ui_test_support.h"

namespace mvorbel {
namespace {

std::string dispatched;  // the user messages and WM_NULL that reached a handler

bool RecordUserMessages(WindowObject*, MSG& message, LRESULT*) {
    if (message.message >= WM_USER) dispatched += "u" + std::to_string(message.message - WM_USER) + " ";
    if (message.message == WM_NULL) dispatched += "null ";
    return false;
}

class MessageLoopTest : public testing::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        dispatched.clear();
        hwnd = MakeForm()->GetHandle();
        window->AttachHandler(RecordUserMessages);
    }
    HWND hwnd = nullptr;
};

TEST_F(MessageLoopTest, PostedMessagesComeBeforeTheQuitAndTheDrainGoesOnAfterIt) {
    window->SetVisible(true);
    ProcessMessages(window);
    testing::defaultProcessed.clear();
    PostMessageA(hwnd, WM_USER + 1, 0, 0);
    PostQuitMessage(0);
    PostMessageA(hwnd, WM_USER + 2, 0, 0);
    InvalidateRect(hwnd, nullptr, TRUE);  // the platform hands out WM_PAINT only after WM_QUIT
    ProcessMessages(window);
    EXPECT_TRUE(terminated);
    EXPECT_EQ(dispatched, "u1 u2 ") << "posted after the quit, retrieved before it";
    // WM_PAINT is still dispatched, though no handler is asked any more.
    EXPECT_EQ(std::count(testing::defaultProcessed.begin(), testing::defaultProcessed.end(), WM_PAINT), 1);
    MSG left = {};
    EXPECT_FALSE(PeekMessageA(&left, nullptr, 0, 0, PM_NOREMOVE)) << "left in the queue: " << left.message;
}

TEST_F(MessageLoopTest, APostedNullEndsOneDrainAndTheSinglePumpSwallowsTheQuit) {
    PostMessageA(hwnd, WM_USER + 1, 0, 0);
    PostMessageA(hwnd, WM_NULL, 0, 0);
    PostMessageA(hwnd, WM_USER + 2, 0, 0);
    ProcessMessages(window);
    EXPECT_EQ(dispatched, "u1 null ");
    ProcessMessages(window);
    EXPECT_EQ(dispatched, "u1 null u2 ");
    PostQuitMessage(0);
    EXPECT_TRUE(ProcessMessage(window));
    EXPECT_TRUE(terminated);
    EXPECT_FALSE(ProcessMessage(window));
}

TEST_F(MessageLoopTest, RunWaitsDispatchesAndReleasesTheWindow) {
    winsim::ScriptWait([this] {
        PostMessageA(hwnd, WM_USER + 3, 0, 0);
        PostQuitMessage(0);
    });
    mvorbel::Run(window);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(applicationWindow, nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(dispatched, "u3 ");
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
