#include "tests/ui/ui_test_support.h"

namespace mvorbel {
namespace {

class ContextMenuTest : public testing::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        winsim::AddIconResource(GetModuleHandleA(nullptr), "MAINICON");
        main = testing::BuildMainWindow();
        hwnd = main.window->GetHandle();
        winsim::SetTrackScript([](const winsim::Tracking&) -> std::optional<UINT> { return std::nullopt; });
    }
    void TearDown() override { Terminate(main.window); }
    testing::MainWindow main;
    HWND hwnd = nullptr;
};

TEST_F(ContextMenuTest, TracksAtSignedWordCoordinatesWithoutMovingTheWindow) {
    const struct {
        LPARAM lParam;
        LONG x, y;
    } cases[] = {{MAKELPARAM(100, 200), 100, 200},
                 {static_cast<LPARAM>(-1), -1, -1},  // from the keyboard
                 {MAKELPARAM(0xFFFB, 40000), -5, 40000 - 65536}};
    for (const auto& c : cases) {
        EXPECT_EQ(SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), c.lParam), 0);
        ASSERT_FALSE(winsim::Trackings().empty());
        const winsim::Tracking& tracking = winsim::Trackings().back();
        EXPECT_EQ(tracking.point.x, c.x) << "lParam " << std::hex << c.lParam;
        EXPECT_EQ(tracking.point.y, c.y) << "lParam " << std::hex << c.lParam;
        EXPECT_EQ(tracking.menu, main.popup->menuHandle.get());
        EXPECT_EQ(tracking.owner, hwnd);
    }
    EXPECT_EQ(winsim::Trackings().size(), 3u);
    EXPECT_EQ(main.window->GetTop(), 98);
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST_F(ContextMenuTest, ReplacedMenuAndNoMenu) {
    const int handlersBefore = main.window->handlers->count;
    main.window->SetContextMenu(main.menuBar);
    EXPECT_EQ(main.window->handlers->count, handlersBefore) << "attached once";
    main.window->SetContextMenu(nullptr);
    main.window->baseWindowProc = testing::RecordingBaseProc;
    SendMessageA(hwnd, WM_CONTEXTMENU, 0, MAKELPARAM(1, 1));
    EXPECT_TRUE(winsim::Trackings().empty());
    EXPECT_EQ(testing::defaultProcessed, std::vector<UINT>{WM_CONTEXTMENU});
}

TEST_F(ContextMenuTest, ReleasingTheMainWindowLeavesNothingBehind) {
    ASSERT_NE(main.window->icon, nullptr);
    const HDC dc = GetDC(hwnd);
    SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(hwnd, dc);
    main.popup->ShowPopupAt(10, 10);
    Terminate(main.window);
    EXPECT_EQ(main.window, nullptr);
    EXPECT_TRUE(winsim::LiveWindows().empty());
    EXPECT_EQ(winsim::LiveMenuCount(), 0u);
    EXPECT_EQ(winsim::LiveIconCount(), 0u);
    EXPECT_EQ(winsim::LiveGdiObjectCount(), 0u);
}

}  // namespace
}  // namespace mvorbel
