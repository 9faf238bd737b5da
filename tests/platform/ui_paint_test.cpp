// Painting the background, system colours, icons and cursors, the cursor position and key state.
#include "tests/platform/contract_fixture.h"

namespace contract {
namespace {

using PaintContract = UiContract;

// The background handler sets mode, colour and brush origin on the DC it is given, then fills.
TEST_F(PaintContract, DeviceContextSettingsReturnTheOldOnes) {
    HWND hwnd = Create(kHiddenForm | WS_VISIBLE);
    HDC dc = GetDC(hwnd);
    ASSERT_NE(nullptr, dc);
    EXPECT_EQ(OPAQUE, SetBkMode(dc, TRANSPARENT)) << "a fresh DC is opaque";
    EXPECT_EQ(TRANSPARENT, SetBkMode(dc, OPAQUE));
    SetLastError(kSentinel);
    EXPECT_EQ(0, SetBkMode(dc, 3)) << "no such mode";
    EXPECT_EQ(DWORD{ERROR_INVALID_PARAMETER}, GetLastError());
    EXPECT_EQ(OPAQUE, SetBkMode(dc, OPAQUE)) << "a refused mode changes nothing";
    EXPECT_EQ(RGB(255, 255, 255), SetBkColor(dc, RGB(1, 2, 3))) << "a fresh DC's is white";
    EXPECT_EQ(RGB(1, 2, 3), SetBkColor(dc, RGB(4, 5, 6)));
    POINT old = {-1, -1};
    EXPECT_TRUE(SetBrushOrgEx(dc, 3, 4, &old));
    EXPECT_EQ(0, old.x + old.y) << old.x << "," << old.y;
    EXPECT_TRUE(SetBrushOrgEx(dc, 0, 0, nullptr));
    EXPECT_TRUE(SetBrushOrgEx(dc, 1, 1, &old));
    EXPECT_EQ(0, old.x + old.y) << "the origin was set back: " << old.x << "," << old.y;

    const HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    ASSERT_NE(nullptr, brush);
    const RECT rect = {0, 0, 10, 10};
    EXPECT_NE(0, FillRect(dc, &rect, brush));
    EXPECT_NE(0, FillRect(dc, &rect, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        << "a system colour index plus one stands for its brush";
    // GDI documents no last error for these: only the results are the contract.
    const auto bad = reinterpret_cast<HDC>(static_cast<ULONG_PTR>(0x0BAD0));
    EXPECT_EQ(0, SetBkMode(bad, OPAQUE));
    EXPECT_EQ(CLR_INVALID, SetBkColor(bad, 0));
    EXPECT_FALSE(SetBrushOrgEx(bad, 0, 0, nullptr));
    if (UnderWine() && FillRect(bad, &rect, brush) != 0)
        NoteWineDeviation("FillRect answers 1 on a DC that does not exist");
    else
        EXPECT_EQ(0, FillRect(bad, &rect, brush));
    EXPECT_EQ(1, ReleaseDC(hwnd, dc));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(brush)) << "deleted once";
}

TEST_F(PaintContract, SystemColoursCursorsAndKeys) {
    for (int index : {COLOR_BTNFACE, COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_MENU, COLOR_HIGHLIGHT})
        EXPECT_EQ(0u, GetSysColor(index) >> 24) << "an RGB value, index " << index;
    EXPECT_NE(GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(0u, GetSysColor(0xFF)) << "an index past the table";

    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(nullptr, arrow);
    EXPECT_EQ(arrow, LoadCursorA(nullptr, IDC_ARROW)) << "a shared cursor";
    ExpectRefusals({{"no such system cursor", [] { return LoadCursorA(nullptr, MAKEINTRESOURCEA(1)); },
                     ERROR_RESOURCE_NAME_NOT_FOUND, "LoadCursorA of a missing system cursor fails with 1813, not 1814",
                     ERROR_RESOURCE_TYPE_NOT_FOUND}});
    SetCursor(arrow);
    EXPECT_EQ(arrow, SetCursor(nullptr)) << "SetCursor returns the previous cursor";
    EXPECT_EQ(nullptr, SetCursor(arrow));

    POINT cursor = {-1, -1};
    ASSERT_TRUE(SetCursorPos(300, 200));
    ASSERT_TRUE(GetCursorPos(&cursor)) << "error " << GetLastError();
    EXPECT_EQ(300, cursor.x);
    EXPECT_EQ(200, cursor.y);
    EXPECT_GE(GetKeyState(VK_CONTROL), 0) << "Ctrl is up: the high bit, the sign, is clear";
}

// A window other than the application's gets a copy of the application's icon, and destroys it.
TEST_F(PaintContract, ACopiedIconIsDestroyedOnce) {
    const HICON shared = LoadIconA(nullptr, IDI_APPLICATION);
    ASSERT_NE(nullptr, shared);
    const auto copy = static_cast<HICON>(CopyImage(shared, IMAGE_ICON, 0, 0, 0));
    ASSERT_NE(nullptr, copy) << "error " << GetLastError();
    EXPECT_NE(shared, copy);
    EXPECT_TRUE(DestroyIcon(copy));
    const auto bogus = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x0BAD0));
    ExpectRefusals({
        {"destroy a destroyed copy", [&] { return DestroyIcon(copy); }, ERROR_INVALID_CURSOR_HANDLE,
         "DestroyIcon on a destroyed icon leaves the last error alone", kSentinel},
        {"copy no icon", [&] { return CopyImage(bogus, IMAGE_ICON, 0, 0, 0); }, ERROR_INVALID_CURSOR_HANDLE},
    });
    EXPECT_EQ(shared, LoadIconA(nullptr, IDI_APPLICATION)) << "the shared icon is untouched";
}

}  // namespace
}  // namespace contract
