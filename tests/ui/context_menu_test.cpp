#include <array>

#include "tests/ui/ui_test_support.h"

namespace mvorbel {
namespace {

class ContextMenuTest : public testing::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        BuildMainWindow();
        winsim::SetTrackScript([](const winsim::Tracking&) { return std::optional<UINT>(); });
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
        ASSERT_FALSE(winsim::Trackings().empty());
        const winsim::Tracking& last = winsim::Trackings().back();
        EXPECT_EQ(last.menu, popup->menuHandle.get());
        EXPECT_EQ((std::array{last.point.x, last.point.y}), (std::array{c.x, c.y}))
            << "lParam " << std::hex << c.lParam;
    }
    EXPECT_EQ(window->GetTop(), 98);
    EXPECT_FALSE(IsWindowVisible(hwnd));
}

// Once before the window ever existed, once after it was painted and its popup shown.
TEST_F(ContextMenuTest, ReleasingTheMainWindowLeavesNothingBehind) {
    for (const bool used : {false, true}) {
        if (used) {
            SetUp();
            winsim::SetSysColor(COLOR_BTNFACE, RGB(1, 2, 3));
            const HWND hwnd = window->GetHandle();
            const HDC dc = GetDC(hwnd);
            testing::defaultProcessed.clear();
            for (int paint = 0; paint < 2; ++paint) {
                SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            }
            ReleaseDC(hwnd, dc);
            EXPECT_EQ(winsim::LiveGdiObjectCount(), 1u) << "one brush, however often painted";
            ASSERT_FALSE(winsim::Fills().empty());
            EXPECT_EQ(winsim::Fills().back().color, RGB(1, 2, 3));
            EXPECT_EQ(testing::defaultProcessed, (std::vector<UINT>{WM_ERASEBKGND, WM_ERASEBKGND}));
            popup->ShowPopupAt(10, 10);
        }
        Terminate(window);
        const std::array left = {winsim::LiveWindows().size(), winsim::LiveMenuCount(),
                                 winsim::LiveIconCount(), winsim::LiveGdiObjectCount()};
        EXPECT_EQ(left, (std::array<std::size_t, 4>{})) << "windows, menus, icons, brushes " << used;
    }
}

}  // namespace
}  // namespace mvorbel
