#include <array>

#include "tests/ui/ui_test_support.h"

namespace mvorbel {
namespace {

class ContextMenuTest : public testing::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        BuildMainWindow();
        winsim::SetTrackScript([](const winsim::Tracking&) -> std::optional<UINT> { return std::nullopt; });
    }
};

TEST_F(ContextMenuTest, TracksAtSignedWordCoordinatesWithoutMovingTheWindow) {
    const struct {
        LPARAM lParam;
        LONG x, y;
    } cases[] = {{MAKELPARAM(100, 200), 100, 200},
                 {static_cast<LPARAM>(-1), -1, -1},  // from the keyboard
                 {MAKELPARAM(0xFFFB, 40000), -5, 40000 - 65536}};
    const HWND hwnd = window->GetHandle();
    for (const auto& c : cases) {
        EXPECT_EQ(SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), c.lParam), 0);
        const POINT point = winsim::Trackings().empty() ? POINT{} : winsim::Trackings().back().point;
        EXPECT_EQ((std::array{point.x, point.y}), (std::array{c.x, c.y})) << "lParam " << std::hex << c.lParam;
    }
    ASSERT_EQ(winsim::Trackings().size(), 3u);
    EXPECT_EQ(winsim::Trackings()[0].menu, popup->menuHandle.get());
    EXPECT_EQ(window->GetTop(), 98);
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

TEST_F(ContextMenuTest, ReleasingTheMainWindowLeavesNothingBehind) {
    for (const bool everShown : {false, true}) {
        if (everShown) {
            SetUp();
            winsim::SetSysColor(COLOR_BTNFACE, RGB(1, 2, 3));
            const HDC dc = GetDC(window->GetHandle());
            ASSERT_NE(window->icon, nullptr);
            testing::defaultProcessed.clear();
            for (int paint = 0; paint < 2; ++paint) {
                SendMessageA(window->GetHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            }
            ReleaseDC(window->GetHandle(), dc);
            EXPECT_EQ(winsim::LiveGdiObjectCount(), 1u) << "one brush, however often painted";
            ASSERT_FALSE(winsim::Fills().empty());
            EXPECT_EQ(winsim::Fills().back().color, RGB(1, 2, 3));
            EXPECT_EQ(winsim::Fills().back().bkMode, OPAQUE);
            EXPECT_EQ(testing::defaultProcessed, (std::vector<UINT>{WM_ERASEBKGND, WM_ERASEBKGND}));
            popup->ShowPopupAt(10, 10);
        }
        Terminate(window);
        EXPECT_TRUE(winsim::LiveWindows().empty());
        EXPECT_EQ(winsim::LiveMenuCount(), 0u) << "ever shown " << everShown;
        EXPECT_EQ(winsim::LiveIconCount(), 0u) << "ever shown " << everShown;
        EXPECT_EQ(winsim::LiveGdiObjectCount(), 0u) << "ever shown " << everShown;
    }
}

}  // namespace
}  // namespace mvorbel
