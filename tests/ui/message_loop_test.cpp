#include "ui/message_loop.h"

#include <algorithm>
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
    EXPECT_EQ(std::count(testing::defaultProcessed.begin(), testing::defaultProcessed.end(), UINT{WM_PAINT}), 1);
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

}  // namespace
}  // namespace mvorbel
