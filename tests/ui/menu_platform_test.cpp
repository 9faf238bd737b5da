#include "ui/menu_platform.h"

#include <gtest/gtest.h>

#include <cstddef>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"
#include "ui/menu_object.h"

namespace mvorbel {
namespace {

TEST(MenuPlatformTest, ClassifiesTheVersionAndSizesTheMenuRecord) {
    // 48 and 44 on the 32-bit build.
    constexpr UINT kWhole = sizeof(MENUITEMINFOA), kShort = offsetof(MENUITEMINFOA, hbmpItem);
    const struct {
        DWORD platformId, major, minor;
        MenuPlatform expected;
        UINT recordSize;
    } cases[] = {{VER_PLATFORM_WIN32_WINDOWS, 4, 0, MenuPlatform::Windows95, kShort},
                 {VER_PLATFORM_WIN32_WINDOWS, 4, 10, MenuPlatform::Windows98Me, kWhole},
                 {VER_PLATFORM_WIN32_NT, 4, 0, MenuPlatform::NT4OrOlder, kShort},
                 {VER_PLATFORM_WIN32_NT, 5, 0, MenuPlatform::Windows2000, kWhole},
                 {VER_PLATFORM_WIN32_NT, 5, 1, MenuPlatform::XPOrLater, kWhole},
                 {VER_PLATFORM_WIN32_NT, 6, 0, MenuPlatform::Windows2000, kWhole},
                 {0, 3, 11, MenuPlatform::Unrecognised, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyMenuPlatform(c.platformId, c.major, c.minor), c.expected)
            << c.platformId << " " << c.major << "." << c.minor;
        if (c.recordSize == 0) continue;
        winsim::Reset();
        winsim::SetVersion(c.platformId, c.major, c.minor);
        EXPECT_EQ(MenuItemInfoSize(), c.recordSize) << c.platformId << " " << c.major << "." << c.minor;
    }
    winsim::Reset();
    winsim::FailCall("GetVersionExA", 1, ERROR_INVALID_PARAMETER);
    EXPECT_EQ(CurrentMenuPlatform(), MenuPlatform::Unrecognised) << "a failed version query";
}

}  // namespace
}  // namespace mvorbel
