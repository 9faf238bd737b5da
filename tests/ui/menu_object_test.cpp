#include "ui/menu_object.h"

#include <array>
#include <cstddef>
#include <string>
#include <tuple>

#include "platform/winsim/system/system_control.h"
#include "tests/ui/ui_test_support.h"
#include "ui/menu_platform.h"

namespace mvorbel {
namespace {

using MenuObjectTest = testing::UiTest;

TEST_F(MenuObjectTest, ShowPopupAtMovesAHiddenOwnerOutOfSightAndBack) {
    BuildMainWindow();
    RECT during = {};
    winsim::SetTrackScript([&](const winsim::Tracking& tracking) -> std::optional<UINT> {
        GetWindowRect(tracking.owner, &during);
        EXPECT_TRUE(IsWindowVisible(tracking.owner));
        return std::nullopt;
    });
    popup->ShowPopupAt(300, 400);
    EXPECT_EQ(during.top, 2050);
    EXPECT_EQ(during.bottom - during.top, 127);
    EXPECT_FALSE(IsWindowVisible(window->handle));
    const RECT after = window->GetBoundsRect();
    EXPECT_EQ((std::array{after.left, after.top, after.right, after.bottom}),
              (std::array<LONG, 4>{205, 98, 393, 225}));

    window->SetVisible(true);
    popup->ShowPopupAt(1, 2);
    EXPECT_EQ(during.top, 98) << "a visible owner is not moved";
    EXPECT_TRUE(IsWindowVisible(window->handle));
}

// A decoder that no code page of the system gives: each byte is the character of its number.
WideString Latin1(std::string_view bytes) {
    WideString wide;
    for (char c : bytes) wide += static_cast<WCHAR>(static_cast<unsigned char>(c));
    return wide;
}

// The template's texts are read with the decoder the menu is built with, texts set later in the
// system's code page (1251 here), and both keep their form while the entry is hidden. The wide
// calls, where the family has them, show the decoded text; elsewhere the bytes show in the
// system's letters. (XP and 98 as they are are the western scenarios' rows.)
TEST_F(MenuObjectTest, TextsShowThroughTheCallsOfTheFamily) {
    const struct {
        const char* name;
        DWORD platform, major, minor;
        bool wideCallsMissing;
        std::vector<std::string> shown;  // UTF-8
    } cases[] = {
        {"NT 4.0, the old text record", VER_PLATFORM_WIN32_NT, 4, 0, false, {"café", "й", "-", "ё"}},
        {"XP without the wide calls", VER_PLATFORM_WIN32_NT, 5, 1, true, {"cafй", "й", "-", "ё"}},
    };
    const char* const kTexts[] = {"caf\xE9", "x", "-", "y", ""};
    for (const auto& c : cases) {
        winsim::SetVersion(c.platform, c.major, c.minor);
        if (c.wideCallsMissing) {
            winsim::SetProcMissing("user32.dll", "InsertMenuItemW");
            winsim::SetProcMissing("user32.dll", "SetMenuItemInfoW");
        }
        MenuObject* menu = MenuObject::BuildFromTemplate(nullptr, kTexts, {}, &Latin1);
        menu->SetItemText(1, MakeDisplayText("\xE9"));
        menu->SetItemVisible(3, false);
        menu->SetItemText(3, MakeDisplayText("\xB8"));
        menu->SetItemVisible(3, true);
        std::vector<std::string> shown;
        for (const auto& line : winsim::ReadMenu(menu->menuHandle.get())) {
            shown.push_back(line.separator ? "-" : line.utf8);
        }
        EXPECT_EQ(shown, c.shown) << c.name;
        ObjectBase::Release(menu);
    }
}

// Menu animation came with 98 and 2000: elsewhere the popup is tracked without the animation flags.
TEST(MenuPlatformTest, TheRecordIsShortBeforeItsBitmapMemberTheWideCallsAreTheNtFamilysAndAnimationIsNew) {
    // 48 and 44 on the 32-bit build.
    constexpr UINT kWhole = sizeof(MENUITEMINFOA), kShort = offsetof(MENUITEMINFOA, hbmpItem);
    constexpr UINT kAnimated = TPM_HORNEGANIMATION | TPM_VERPOSANIMATION | TPM_NONOTIFY, kStill = TPM_NONOTIFY;
    // platform (0: the version call refused), major and minor version, the record size that version
    // takes, its wide calls, the track flags it gets for kAnimated
    const std::tuple<DWORD, DWORD, DWORD, UINT, bool, UINT> cases[] = {
        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, kShort, false, kStill},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, kWhole, false, kAnimated},
        {VER_PLATFORM_WIN32_NT, 4, 0, kShort, true, kStill},
        {VER_PLATFORM_WIN32_NT, 5, 0, kWhole, true, kAnimated},
        {0, 5, 0, kShort, false, kStill}};
    for (const auto& [platform, major, minor, size, wide, flags] : cases) {
        winsim::Reset();
        winsim::SetVersion(platform == 0 ? VER_PLATFORM_WIN32_NT : platform, major, minor);
        for (int nth : {1, 2, 3}) {
            if (platform == 0) winsim::FailCall("GetVersionExA", nth, ERROR_INVALID_PARAMETER);
        }
        EXPECT_EQ(MenuItemInfoSize(), size) << platform << ": " << major << "." << minor;
        EXPECT_EQ(HasWideCalls(), wide) << platform << ": " << major << "." << minor;
        EXPECT_EQ(TrackFlagsHere(kAnimated), flags) << platform << ": " << major << "." << minor;
    }
}

}  // namespace
}  // namespace mvorbel
