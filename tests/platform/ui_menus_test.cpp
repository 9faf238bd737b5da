// Menus read back after inserts, removals and state changes.
#include <cstddef>

#include "tests/platform/ui_contract.h"

namespace {

using contract::Describe;
using contract::kSentinel;
using contract::ReadBack;

// RAII for the menus these tests make; destroying the root destroys its submenus.
struct Menu {
    HMENU handle = CreatePopupMenu();
    ~Menu() {
        if (IsMenu(handle)) DestroyMenu(handle);
    }
};

BOOL Append(HMENU menu, UINT id, const char* text, UINT type = MFT_STRING, UINT state = 0, HMENU sub = nullptr) {
    MENUITEMINFOA info = {sizeof info};
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE | MIIM_DATA;
    info.fType = type;
    info.fState = state;
    info.wID = id;
    info.hSubMenu = sub;
    info.dwTypeData = const_cast<char*>(text);
    return InsertMenuItemA(menu, 0xFFFFFFFF, TRUE, &info);
}

class MenuContract : public contract::UiContract {};

TEST_F(MenuContract, ItemsReadBackInInsertOrder) {
    Menu menu;
    ASSERT_TRUE(Append(menu.handle, 4096, "First"));
    ASSERT_TRUE(Append(menu.handle, 4097, "-", MFT_SEPARATOR, MFS_GRAYED));
    ASSERT_TRUE(Append(menu.handle, 4098, "Third", MFT_STRING, MFS_CHECKED));
    auto lines = ReadBack(menu.handle);
    ASSERT_EQ(3u, lines.size()) << Describe(lines);
    EXPECT_EQ("First", lines[0].text);
    EXPECT_EQ(4096u, lines[0].id);
    EXPECT_EQ(static_cast<UINT>(MFT_SEPARATOR), lines[1].type) << "a separator keeps no text: " << Describe(lines);
    EXPECT_EQ("", lines[1].text);
    EXPECT_EQ(static_cast<UINT>(MFS_GRAYED), lines[1].state);
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), lines[2].state);
}

TEST_F(MenuContract, InsertByCommandGoesBeforeThatItem) {
    Menu menu;
    ASSERT_TRUE(Append(menu.handle, 1, "A"));
    ASSERT_TRUE(Append(menu.handle, 3, "C"));
    MENUITEMINFOA info = {sizeof info};
    info.fMask = MIIM_ID | MIIM_TYPE;
    info.wID = 2;
    info.dwTypeData = const_cast<char*>("B");
    ASSERT_TRUE(InsertMenuItemA(menu.handle, 3, FALSE, &info));
    info.wID = 0;
    info.dwTypeData = const_cast<char*>("Z");
    ASSERT_TRUE(InsertMenuItemA(menu.handle, 0, TRUE, &info));
    auto lines = ReadBack(menu.handle);
    ASSERT_EQ(4u, lines.size()) << Describe(lines);
    EXPECT_EQ("Z", lines[0].text);
    EXPECT_EQ("A", lines[1].text);
    EXPECT_EQ("B", lines[2].text);
    EXPECT_EQ("C", lines[3].text);
}

TEST_F(MenuContract, RemoveByCommandFindsItemsOfSubmenus) {
    Menu menu;
    HMENU sub = CreatePopupMenu();
    ASSERT_TRUE(Append(menu.handle, 10, "Top", MFT_STRING, 0, sub));
    ASSERT_TRUE(Append(sub, 11, "Inner 1"));
    ASSERT_TRUE(Append(sub, 12, "Inner 2"));
    ASSERT_TRUE(Append(menu.handle, 13, "After"));
    ASSERT_TRUE(RemoveMenu(menu.handle, 12, MF_BYCOMMAND));
    auto inner = ReadBack(sub);
    ASSERT_EQ(1u, inner.size()) << Describe(inner);
    EXPECT_EQ(11u, inner[0].id);
    ASSERT_TRUE(RemoveMenu(menu.handle, 1, MF_BYPOSITION));
    auto lines = ReadBack(menu.handle);
    ASSERT_EQ(1u, lines.size()) << Describe(lines);
    EXPECT_EQ(sub, lines[0].submenu);
    SetLastError(kSentinel);
    EXPECT_FALSE(RemoveMenu(menu.handle, 99, MF_BYCOMMAND));
    ASSERT_TRUE(DestroyMenu(menu.handle));
    EXPECT_FALSE(IsMenu(sub)) << "destroying a menu destroys its submenus";
}

TEST_F(MenuContract, StateAndTextChangesReadBack) {
    Menu menu;
    ASSERT_TRUE(Append(menu.handle, 4096, "Old"));
    MENUITEMINFOA info = {sizeof info};
    info.fMask = MIIM_STATE;
    info.fState = MFS_CHECKED;
    ASSERT_TRUE(SetMenuItemInfoA(menu.handle, 4096, FALSE, &info));
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>("New text");
    ASSERT_TRUE(SetMenuItemInfoA(menu.handle, 4096, FALSE, &info));
    auto lines = ReadBack(menu.handle);
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ("New text", lines[0].text);
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), lines[0].state);

    char shortBuffer[16] = "xxxxxxxxxxxxxxx";
    MENUITEMINFOA read = {sizeof read};
    read.fMask = MIIM_STRING;
    read.dwTypeData = shortBuffer;
    read.cch = 4;
    ASSERT_TRUE(GetMenuItemInfoA(menu.handle, 0, TRUE, &read));
    EXPECT_EQ("New", std::string(shortBuffer, 3));
    EXPECT_EQ(3u, read.cch);
    if (contract::UnderWine() && shortBuffer[3] != '\0') {
        contract::NoteWineDeviation("GetMenuItemInfoA fills a short buffer without its terminating zero");
        EXPECT_EQ(' ', shortBuffer[3]);
    } else {
        EXPECT_EQ('\0', shortBuffer[3]) << "a short buffer gets cch - 1 characters and the zero";
    }
    read.dwTypeData = nullptr;
    ASSERT_TRUE(GetMenuItemInfoA(menu.handle, 0, TRUE, &read));
    EXPECT_EQ(8u, read.cch) << "without a buffer cch is the text's length";
}

TEST_F(MenuContract, MissingItemsAndBadSizes) {
    Menu menu;
    ASSERT_TRUE(Append(menu.handle, 1, "A"));
    MENUITEMINFOA info = {sizeof info};
    info.fMask = MIIM_STATE;
    SetLastError(kSentinel);
    EXPECT_FALSE(GetMenuItemInfoA(menu.handle, 2, FALSE, &info));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MENU_ITEM_NOT_FOUND), GetLastError());
    SetLastError(kSentinel);
    EXPECT_FALSE(SetMenuItemInfoA(menu.handle, 5, TRUE, &info));
    if (contract::UnderWine()) {
        contract::NoteWineDeviation("SetMenuItemInfoA on a missing item leaves the last error alone");
        EXPECT_EQ(kSentinel, GetLastError());
    } else {
        EXPECT_EQ(static_cast<DWORD>(ERROR_MENU_ITEM_NOT_FOUND), GetLastError());
    }
    info.cbSize = sizeof info + 4;
    SetLastError(kSentinel);
    EXPECT_FALSE(GetMenuItemInfoA(menu.handle, 1, FALSE, &info));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST_F(MenuContract, OldRecordSizeIsAcceptedAndItsEndLeftAlone) {
    Menu menu;
    MENUITEMINFOA info = {};
    info.cbSize = offsetof(MENUITEMINFOA, hbmpItem);
    info.fMask = MIIM_ID | MIIM_TYPE | MIIM_STATE;
    info.wID = 7;
    info.fState = MFS_CHECKED;
    info.dwTypeData = const_cast<char*>("Old layout");
    ASSERT_TRUE(InsertMenuItemA(menu.handle, 0xFFFFFFFF, TRUE, &info)) << "error " << GetLastError();
    MENUITEMINFOA read = {};
    read.cbSize = offsetof(MENUITEMINFOA, hbmpItem);
    read.fMask = MIIM_STATE | MIIM_ID;
    read.hbmpItem = reinterpret_cast<HBITMAP>(0x5EA1);
    ASSERT_TRUE(GetMenuItemInfoA(menu.handle, 7, FALSE, &read)) << "error " << GetLastError();
    EXPECT_EQ(7u, read.wID);
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), read.fState);
    EXPECT_EQ(reinterpret_cast<HBITMAP>(0x5EA1), read.hbmpItem) << "nothing is written past cbSize";
}

TEST_F(MenuContract, RadioCheckMovesTheCheckWithinTheRange) {
    Menu menu;
    ASSERT_TRUE(Append(menu.handle, 20, "A", MFT_RADIOCHECK, MFS_CHECKED));
    ASSERT_TRUE(Append(menu.handle, 21, "B", MFT_RADIOCHECK));
    ASSERT_TRUE(Append(menu.handle, 22, "C", MFT_STRING));
    EXPECT_TRUE(CheckMenuRadioItem(menu.handle, 20, 22, 22, MF_BYCOMMAND));
    auto lines = ReadBack(menu.handle);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(0u, lines[0].state & MFS_CHECKED) << Describe(lines);
    EXPECT_EQ(static_cast<UINT>(MFS_CHECKED), lines[2].state & MFS_CHECKED) << Describe(lines);
    EXPECT_EQ(static_cast<UINT>(MFT_RADIOCHECK), lines[2].type & MFT_RADIOCHECK) << "the checked item is drawn as radio";
    EXPECT_EQ(static_cast<UINT>(MFT_RADIOCHECK), lines[0].type & MFT_RADIOCHECK) << "unchecked items keep their type";
}

TEST_F(MenuContract, MenuBarOfAWindow) {
    HWND hwnd = Create(0x06CF0000);
    ASSERT_NE(nullptr, hwnd);
    HMENU bar = CreateMenu();
    ASSERT_TRUE(SetMenu(hwnd, bar));
    EXPECT_EQ(bar, GetMenu(hwnd));
    EXPECT_TRUE(DrawMenuBar(hwnd));
    ASSERT_TRUE(SetMenu(hwnd, nullptr));
    EXPECT_TRUE(IsMenu(bar)) << "taking a menu off a window does not destroy it";
    ASSERT_TRUE(SetMenu(hwnd, bar));
    ASSERT_TRUE(DestroyWindow(hwnd));
    EXPECT_FALSE(IsMenu(bar)) << "a window destroys its menu bar";
    SetLastError(kSentinel);
    EXPECT_FALSE(DestroyMenu(bar));
    if (contract::UnderWine()) {
        contract::NoteWineDeviation("DestroyMenu on a destroyed menu leaves the last error alone");
        EXPECT_EQ(kSentinel, GetLastError());
    } else {
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE), GetLastError());
    }
}

}  // namespace
