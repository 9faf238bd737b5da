// Menus read back after inserts, removals and state changes.
#include <cstddef>

#include "tests/platform/contract_fixture.h"

namespace contract {
namespace {

// RAII for the menus these tests make; destroying the root destroys its submenus.
struct Menu {
    HMENU handle = CreatePopupMenu();
    ~Menu() {
        if (IsMenu(handle)) DestroyMenu(handle);
    }
};

BOOL Insert(HMENU menu, UINT id, const char* text, UINT type = MFT_STRING, UINT state = 0,
            HMENU sub = nullptr, UINT before = 0xFFFFFFFF, BOOL byPosition = TRUE) {
    MENUITEMINFOA info = {sizeof info};
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
    info.fType = type;
    info.fState = state;
    info.wID = id;
    info.hSubMenu = sub;
    info.dwTypeData = const_cast<char*>(text);
    return InsertMenuItemA(menu, before, byPosition, &info);
}

// Each item as "text:id:type:state", read back through GetMenuItemInfoA.
std::vector<std::string> ReadBack(HMENU menu) {
    std::vector<std::string> lines;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[256] = {};
        MENUITEMINFOA info = {sizeof info};
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) break;
        lines.push_back(std::string(text) + ":" + std::to_string(info.wID) + ":" +
                        std::to_string(info.fType) + ":" + std::to_string(info.fState));
    }
    return lines;
}

using Lines = std::vector<std::string>;
using MenuContract = UiContract;

TEST_F(MenuContract, ItemsReadBackWhereInsertedAndRemoved) {
    Menu menu;
    HMENU sub = CreatePopupMenu();
    ASSERT_TRUE(Insert(menu.handle, 4096, "First"));
    ASSERT_TRUE(Insert(menu.handle, 4097, "-", MFT_SEPARATOR, MFS_GRAYED));
    ASSERT_TRUE(Insert(menu.handle, 4099, "Third", MFT_STRING, MFS_CHECKED, sub));
    ASSERT_TRUE(Insert(menu.handle, 4098, "Before third", MFT_STRING, 0, nullptr, 4099, FALSE));
    ASSERT_TRUE(Insert(menu.handle, 1, "Z", MFT_STRING, 0, nullptr, 0));
    ASSERT_TRUE(Insert(sub, 11, "Inner 1"));
    ASSERT_TRUE(Insert(sub, 12, "Inner 2"));
    EXPECT_EQ((Lines{"Z:1:0:0", "First:4096:0:0", ":4097:2048:3", "Before third:4098:0:0",
                     "Third:4099:0:8"}),
              ReadBack(menu.handle))
        << "a separator keeps no text";
    ASSERT_TRUE(RemoveMenu(menu.handle, 12, MF_BYCOMMAND)) << "by command finds items of submenus";
    ASSERT_TRUE(RemoveMenu(menu.handle, 0, MF_BYPOSITION));
    EXPECT_EQ((Lines{"Inner 1:11:0:0"}), ReadBack(sub));
    EXPECT_FALSE(RemoveMenu(menu.handle, 99, MF_BYCOMMAND));
    ASSERT_TRUE(DestroyMenu(menu.handle));
    EXPECT_FALSE(IsMenu(sub)) << "destroying a menu destroys its submenus";
}

TEST_F(MenuContract, StateTextAndRadioChangesReadBack) {
    Menu menu;
    ASSERT_TRUE(Insert(menu.handle, 20, "A", MFT_RADIOCHECK, MFS_CHECKED));
    ASSERT_TRUE(Insert(menu.handle, 21, "B", MFT_RADIOCHECK));
    ASSERT_TRUE(Insert(menu.handle, 22, "Old"));
    MENUITEMINFOA info = {sizeof info};
    info.fMask = MIIM_STATE;
    info.fState = MFS_GRAYED;
    ASSERT_TRUE(SetMenuItemInfoA(menu.handle, 21, FALSE, &info));
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>("New text");
    ASSERT_TRUE(SetMenuItemInfoA(menu.handle, 22, FALSE, &info));
    EXPECT_TRUE(CheckMenuRadioItem(menu.handle, 20, 22, 22, MF_BYCOMMAND));
    // The checked item is drawn as a radio item; unchecked ones keep their type.
    EXPECT_EQ((Lines{"A:20:512:0", "B:21:512:3", "New text:22:512:8"}), ReadBack(menu.handle));

    char shortBuffer[16] = "xxxxxxxxxxxxxxx";
    MENUITEMINFOA read = {sizeof read};
    read.fMask = MIIM_STRING;
    read.dwTypeData = shortBuffer;
    read.cch = 4;
    ASSERT_TRUE(GetMenuItemInfoA(menu.handle, 2, TRUE, &read));
    EXPECT_EQ("New", std::string(shortBuffer, 3));
    EXPECT_EQ(3u, read.cch);
    if (UnderWine() && shortBuffer[3] != '\0') {
        NoteWineDeviation("GetMenuItemInfoA fills a short buffer without its terminating zero");
        EXPECT_EQ(' ', shortBuffer[3]);
    } else {
        EXPECT_EQ('\0', shortBuffer[3]) << "a short buffer gets cch - 1 characters and the zero";
    }
    read.dwTypeData = nullptr;
    ASSERT_TRUE(GetMenuItemInfoA(menu.handle, 2, TRUE, &read));
    EXPECT_EQ(8u, read.cch) << "without a buffer cch is the text's length";
}

// The platform keeps an item's text in UTF-16: the single-byte calls go through the ANSI code page
// (1251 in these runs), the wide ones take it as it is, in either record size.
TEST_F(MenuContract, TextsCrossBetweenTheSingleByteAndWideCalls) {
    Menu menu;
    ASSERT_TRUE(Insert(menu.handle, 30, "\xCE\xF2\xEC\xE5\xED\xE0"));
    const WideText china = Wide("Отмена 中"), turnOff = Wide("Выключить");
    MENUITEMINFOW info = {};
    info.cbSize = offsetof(MENUITEMINFOW, hbmpItem);
    info.fMask = MIIM_ID | MIIM_TYPE;
    info.fType = MFT_STRING;
    info.wID = 31;
    info.dwTypeData = const_cast<WCHAR*>(china.c_str());
    ASSERT_TRUE(InsertMenuItemW(menu.handle, 0xFFFFFFFF, TRUE, &info)) << "error " << GetLastError();
    info.wID = 32;
    ASSERT_TRUE(InsertMenuItemW(menu.handle, 0xFFFFFFFF, TRUE, &info));
    MENUITEMINFOW change = {sizeof change};
    change.fMask = MIIM_STRING;
    change.dwTypeData = const_cast<WCHAR*>(turnOff.c_str());
    ASSERT_TRUE(SetMenuItemInfoW(menu.handle, 32, FALSE, &change)) << "error " << GetLastError();
    EXPECT_EQ((Lines{"\xCE\xF2\xEC\xE5\xED\xE0:30:0:0", "\xCE\xF2\xEC\xE5\xED\xE0 ?:31:0:0",
                     "\xC2\xFB\xEA\xEB\xFE\xF7\xE8\xF2\xFC:32:0:0"}),
              ReadBack(menu.handle))
        << "what the code page lacks reads as '?'";
}

TEST_F(MenuContract, RefusalsAndTheOldRecordSize) {
    Menu menu;
    MENUITEMINFOA info = {};
    info.cbSize = offsetof(MENUITEMINFOA, hbmpItem);
    info.fMask = MIIM_ID | MIIM_TYPE | MIIM_STATE;
    info.wID = 7;
    info.fState = MFS_CHECKED;
    info.dwTypeData = const_cast<char*>("Old layout");
    ASSERT_TRUE(InsertMenuItemA(menu.handle, 0xFFFFFFFF, TRUE, &info)) << "got " << GetLastError();
    MENUITEMINFOA read = {};
    read.cbSize = offsetof(MENUITEMINFOA, hbmpItem);
    read.fMask = MIIM_STATE | MIIM_ID;
    read.hbmpItem = reinterpret_cast<HBITMAP>(0x5EA1);
    ASSERT_TRUE(GetMenuItemInfoA(menu.handle, 7, FALSE, &read)) << "error " << GetLastError();
    EXPECT_EQ(7u, read.wID);
    EXPECT_EQ(UINT{MFS_CHECKED}, read.fState);
    EXPECT_EQ(reinterpret_cast<HBITMAP>(0x5EA1), read.hbmpItem) << "nothing is written past cbSize";

    MENUITEMINFOA state = {sizeof state}, tooLong = {sizeof tooLong + 4};
    state.fMask = tooLong.fMask = MIIM_STATE;
    HWND owner = Create(), gone = Create();
    HMENU destroyed = CreatePopupMenu();
    DestroyWindow(gone);
    DestroyMenu(destroyed);
    MessageLog().clear();
    auto track = [&](HMENU popup, HWND window) {
        return TrackPopupMenu(popup, TPM_RETURNCMD, 10, 10, 0, window, nullptr);
    };
    ExpectRefusals({
        {"track no menu", [&] { return track(nullptr, owner); }, ERROR_INVALID_MENU_HANDLE},
        {"track a destroyed menu", [&] { return track(destroyed, owner); }, ERROR_INVALID_MENU_HANDLE},
        {"track for no window", [&] { return track(menu.handle, nullptr); }, ERROR_INVALID_WINDOW_HANDLE},
        {"track for a destroyed window", [&] { return track(menu.handle, gone); }, ERROR_INVALID_WINDOW_HANDLE},
        {"get a missing item", [&] { return GetMenuItemInfoA(menu.handle, 2, FALSE, &state); },
         ERROR_MENU_ITEM_NOT_FOUND},
        {"set a missing item", [&] { return SetMenuItemInfoA(menu.handle, 5, TRUE, &state); },
         ERROR_MENU_ITEM_NOT_FOUND,
         "SetMenuItemInfoA on a missing item leaves the last error alone", kSentinel},
        {"a record too long", [&] { return GetMenuItemInfoA(menu.handle, 7, FALSE, &tooLong); },
         ERROR_INVALID_PARAMETER},
    });
    EXPECT_EQ(-1, IndexOf(WM_ENTERMENULOOP)) << "a refused popup tells its owner nothing";
}

// The menu's modal loop takes what the queue holds before it looks at the user: a cancel, keys,
// a pending quit message. Without TPM_RETURNCMD the result is success whatever the user did, and
// the chosen item comes later, as a WM_COMMAND in the owner's queue.
TEST_F(MenuContract, TrackingEndsOnWhatIsQueued) {
    HWND owner = Create(kHiddenForm | WS_VISIBLE);
    Menu menu;
    ASSERT_TRUE(Insert(menu.handle, 4096, "One"));
    ASSERT_TRUE(Insert(menu.handle, 4097, "-", MFT_SEPARATOR));
    ASSERT_TRUE(Insert(menu.handle, 4098, "Two"));
    constexpr UINT kProductFlags = 0x800, kQuit = 0;
    struct Row {
        const char* what;
        std::vector<WPARAM> keys;  // posted as WM_KEYDOWN; kQuit: a pending quit message instead
        UINT flags;
        BOOL result;
        WPARAM command;  // in the owner's queue afterwards, 0: none
        const char* wineDeviation = nullptr;
    };
    const Row rows[] = {
        {"a cancel", {}, kProductFlags, TRUE, 0},
        {"a cancel, the command returned", {}, TPM_RETURNCMD, 0, 0},
        {"Escape", {VK_ESCAPE}, kProductFlags, TRUE, 0},
        {"Down, Enter", {VK_DOWN, VK_RETURN}, kProductFlags, TRUE, 4096},
        {"Down, Down, Enter, the command returned", {VK_DOWN, VK_DOWN, VK_RETURN}, TPM_RETURNCMD,
         4098, 0},
        {"Up, Enter", {VK_UP, VK_RETURN}, 0, TRUE, 4098},
        {"a pending quit", {kQuit}, kProductFlags, TRUE, 0,
         "TrackPopupMenu's loop swallows a pending quit message and goes on tracking"},
        {"a pending quit, the command returned", {kQuit}, TPM_RETURNCMD, 0, 0,
         "TrackPopupMenu's loop swallows a pending quit message and goes on tracking"},
    };
    for (const auto& row : rows) {
        Drain();
        MessageLog().clear();
        bool quit = !row.keys.empty() && row.keys[0] == kQuit;
        if (row.keys.empty()) PostMessageA(owner, WM_CANCELMODE, 0, 0);
        if (quit) PostQuitMessage(7);
        for (WPARAM key : row.keys)
            if (key != kQuit) PostMessageA(owner, WM_KEYDOWN, key, 1);
        LoopBreaker breaker(owner, 3000);
        SetLastError(kSentinel);
        BOOL result = TrackPopupMenu(menu.handle, row.flags, 100, 100, 0, owner, nullptr);
        DWORD error = GetLastError();
        bool broken = breaker.Broke();
        MSG msg = {};
        bool quitLeft = PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && msg.wParam == 7;
        WPARAM command = PeekMessageA(&msg, owner, WM_COMMAND, WM_COMMAND, PM_REMOVE) ? msg.wParam : 0;
        EXPECT_EQ(row.result, result) << row.what;
        EXPECT_EQ(0u, error) << row.what << ": the loop's success clears the last error";
        EXPECT_EQ(row.command, command) << row.what;
        int enter = IndexOf(WM_ENTERMENULOOP), init = IndexOf(WM_INITMENUPOPUP);
        EXPECT_TRUE(0 <= enter && enter < init && init < IndexOf(WM_EXITMENULOOP)) << row.what;
        if (row.wineDeviation != nullptr && UnderWine() && broken && !quitLeft) {
            NoteWineDeviation(row.wineDeviation);
            continue;
        }
        EXPECT_FALSE(broken) << row.what << ": the loop ended on its own";
        EXPECT_EQ(quit, quitLeft) << row.what << ": a quit message stays for the caller's loop";
    }
}

TEST_F(MenuContract, AWindowOwnsItsMenuBar) {
    HWND hwnd = Create();
    HMENU bar = CreateMenu();
    ASSERT_TRUE(SetMenu(hwnd, bar));
    EXPECT_TRUE(DrawMenuBar(hwnd));
    ASSERT_TRUE(SetMenu(hwnd, nullptr));
    EXPECT_TRUE(IsMenu(bar)) << "taking a menu off a window does not destroy it";
    ASSERT_TRUE(SetMenu(hwnd, bar));
    ASSERT_TRUE(DestroyWindow(hwnd));
    EXPECT_FALSE(IsMenu(bar)) << "a window destroys its menu bar";
    ExpectRefusals({{"destroy a destroyed menu", [&] { return DestroyMenu(bar); }, ERROR_INVALID_MENU_HANDLE,
                     "DestroyMenu on a destroyed menu leaves the last error alone", kSentinel}});
}

}  // namespace
}  // namespace contract
