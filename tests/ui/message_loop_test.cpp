#include "ui/message_loop.h"

#include <cstdio>
#include <string>

#include "tests/ui/ui_test_support.h"

namespace mvorbel {
namespace {

std::string dispatched;  // the user messages and WM_NULL that reached a handler

bool RecordUserMessages(WindowObject*, MSG& message, LRESULT*) {
    if (message.message >= WM_USER) dispatched += "u" + std::to_string(message.message - WM_USER);
    if (message.message == WM_NULL) dispatched += "null";
    return false;
}

class MessageLoopTest : public testing::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        dispatched.clear();
        MakeForm()->AttachHandler(RecordUserMessages);
    }
};

TEST_F(MessageLoopTest, PostedMessagesComeBeforeTheQuitAndTheDrainGoesOnAfterIt) {
    const HWND hwnd = window->GetHandle();
    window->SetVisible(true);
    ProcessMessages(window);
    testing::defaultProcessed.clear();
    PostMessageA(hwnd, WM_USER + 1, 0, 0);
    PostQuitMessage(0);
    PostMessageA(hwnd, WM_USER + 2, 0, 0);
    InvalidateRect(hwnd, nullptr, TRUE);  // the platform hands out WM_PAINT only after WM_QUIT
    ProcessMessages(window);
    EXPECT_TRUE(terminated);
    EXPECT_EQ(dispatched, "u1u2") << "posted after the quit, retrieved before it";
    // Dispatched, though no handler is asked any more.
    EXPECT_EQ(testing::DefaultProcessedCount(WM_PAINT), 1);
}

TEST_F(MessageLoopTest, APostedNullEndsOneDrainAndTheSinglePumpSwallowsTheQuit) {
    for (UINT message : {WM_USER + 1, WM_NULL, WM_USER + 2}) {
        PostMessageA(window->GetHandle(), message, 0, 0);
    }
    ProcessMessages(window);
    EXPECT_EQ(dispatched, "u1null");
    ProcessMessages(window);
    EXPECT_EQ(dispatched, "u1nullu2");
    PostQuitMessage(0);
    EXPECT_TRUE(ProcessMessage(window));
    EXPECT_TRUE(terminated);
    EXPECT_FALSE(ProcessMessage(window));
}

// Run makes the window itself; with `terminated` already set it must not wait at all.
TEST_F(MessageLoopTest, RunCreatesWaitsDispatchesAndReleasesTheWindow) {
    for (const bool terminatedBefore : {false, true}) {
        if (terminatedBefore) SetUp();
        winsim::ScriptWait([] {
            PostMessageA(applicationWindow->handle, WM_USER + 3, 0, 0);
            PostQuitMessage(0);
        });
        terminated = terminatedBefore;
        mvorbel::Run(window);
        EXPECT_EQ(dispatched, terminatedBefore ? "" : "u3");
        EXPECT_EQ(testing::DefaultProcessedCount(WM_CREATE), 1) << terminatedBefore;
        EXPECT_TRUE(window == nullptr && applicationWindow == nullptr) << terminatedBefore;
        EXPECT_TRUE(winsim::LiveWindows().empty()) << terminatedBefore;
    }
}

TEST_F(MessageLoopTest, EndOfLogonReleasesTheWindowAndExits) {
    const HWND hwnd = window->GetHandle();
    SendMessageA(hwnd, WM_ENDSESSION, 0, 0);
    EXPECT_FALSE(terminated) << "wParam 0: the logon goes on";
    static bool disposed = false;
    window->onDestroy = {[](void*, ObjectBase*) { disposed = true; }, nullptr};
    std::optional<UINT> exitCode;
    try {
        SendMessageA(hwnd, WM_ENDSESSION, 1, 0);
    } catch (const winsim::ProcessExit& exit) {
        exitCode = exit.code;
    }
    EXPECT_EQ(0u, exitCode.value_or(99));
    EXPECT_TRUE(disposed);
    EXPECT_TRUE(terminated && applicationWindow == nullptr);
    window = nullptr;
}

}  // namespace
}  // namespace mvorbel
