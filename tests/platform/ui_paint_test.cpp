// Painting the background, system colours, icons and cursors, the cursor position and key state.
#include "tests/platform/contract_fixture.h"

namespace contract {
namespace {

using PaintContract = UiContract;

// The background handler sets mode, colour and brush origin on the DC it is given, then fills
// the client area with a brush of the button face colour, which it deletes when the colour changes.
TEST_F(PaintContract, TheBackgroundIsFilledWithTheButtonFaceColour) {
    HWND hwnd = Create(kHiddenForm | WS_VISIBLE);
    HDC dc = GetDC(hwnd);
    ASSERT_NE(nullptr, dc);
    EXPECT_EQ(OPAQUE, SetBkMode(dc, OPAQUE)) << "a fresh DC is opaque";
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(0u, face >> 24) << "an RGB value: " << std::hex << face;
    EXPECT_EQ(RGB(255, 255, 255), SetBkColor(dc, face)) << "a fresh DC's is white";
    EXPECT_TRUE(SetBrushOrgEx(dc, 0, 0, nullptr));
    const HBRUSH brush = CreateSolidBrush(face);
    ASSERT_NE(nullptr, brush);
    RECT client = {};
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_NE(0, FillRect(dc, &client, brush));
    EXPECT_EQ(1, ReleaseDC(hwnd, dc));
    EXPECT_TRUE(DeleteObject(brush));
}

// Every window of the framework's classes has the shared arrow; a window other than the
// application's gets a copy of the application's icon, and destroys it. The chooser's popup opens
// where the cursor is; Ctrl held takes the other path.
TEST_F(PaintContract, CursorsIconsAndKeys) {
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(nullptr, arrow);
    SetCursor(arrow);
    EXPECT_EQ(arrow, SetCursor(nullptr)) << "SetCursor returns the previous cursor";

    const HICON shared = LoadIconA(nullptr, IDI_APPLICATION);
    ASSERT_NE(nullptr, shared);
    const auto copy = static_cast<HICON>(CopyImage(shared, IMAGE_ICON, 0, 0, 0));
    ASSERT_NE(nullptr, copy) << "error " << GetLastError();
    EXPECT_NE(shared, copy);
    EXPECT_TRUE(DestroyIcon(copy));
    EXPECT_EQ(shared, LoadIconA(nullptr, IDI_APPLICATION)) << "the shared icon is untouched";

    POINT cursor = {-1, -1};
    ASSERT_TRUE(SetCursorPos(300, 200));
    ASSERT_TRUE(GetCursorPos(&cursor)) << "error " << GetLastError();
    EXPECT_TRUE(cursor.x == 300 && cursor.y == 200) << cursor.x << "," << cursor.y;
    EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "Ctrl is up: the high bit, the sign, is clear";
}

}  // namespace
}  // namespace contract
