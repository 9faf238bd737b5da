#include <array>
#include <tuple>

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

TEST_F(ContextMenuTest, TracksAtSignedWordCoordinates) {
    // lParam, and the point the menu opens at
    const std::tuple<LPARAM, LONG, LONG> cases[] = {{MAKELPARAM(100, 200), 100, 200},
                                                    {static_cast<LPARAM>(-1), -1, -1},  // keyboard
                                                    {MAKELPARAM(0xFFFB, 40000), -5, 40000 - 65536}};
    const HWND hwnd = window->GetHandle();
    for (const auto& [lParam, x, y] : cases) {
        EXPECT_EQ(SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam), 0);
        ASSERT_FALSE(winsim::Trackings().empty());
        const winsim::Tracking& last = winsim::Trackings().back();
        EXPECT_EQ(last.menu, popup->menuHandle.get());
        EXPECT_EQ((std::array{last.point.x, last.point.y}), (std::array{x, y}))
            << "lParam " << std::hex << lParam;
    }
}

// Once before the window ever existed, once after it was painted twice (one brush, however
// often) and its popup shown.
TEST_F(ContextMenuTest, ReleasingTheMainWindowLeavesNothingBehind) {
    for (const bool used : {false, true}) {
        if (used) {
            SetUp();
            winsim::SetSysColor(COLOR_BTNFACE, RGB(1, 2, 3));
            const HWND hwnd = window->GetHandle();
            const HDC dc = GetDC(hwnd);
            SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            ReleaseDC(hwnd, dc);
            EXPECT_EQ(testing::DefaultProcessedCount(WM_ERASEBKGND), 2);
            ASSERT_FALSE(winsim::Fills().empty());
            EXPECT_EQ(winsim::Fills().back().color, RGB(1, 2, 3));
            popup->ShowPopupAt(10, 10);
        }
        Terminate(window);
        // windows, menus, icon copies, brushes
        const std::array left = {winsim::LiveWindows().size(), winsim::LiveMenuCount(),
                                 winsim::LiveIconCount(), winsim::LiveGdiObjectCount()};
        EXPECT_EQ(left, (std::array<std::size_t, 4>{})) << "used " << used;
    }
}

}  // namespace
}  // namespace mvorbel
