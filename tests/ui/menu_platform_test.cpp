#include "ui/menu_platform.h"

#include <gtest/gtest.h>

#include <cstddef>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"
#include "ui/menu_object.h"

namespace mvorbel {
namespace {

TEST(MenuPlatformTest, TheMenuRecordIsShortOnlyWhereTheVersionPredatesItsBitmapMember) {
    // 48 and 44 on the 32-bit build.
    constexpr UINT kWhole = sizeof(MENUITEMINFOA), kShort = offsetof(MENUITEMINFOA, hbmpItem);
    const struct {
        DWORD platformId, major, minor;
        UINT recordSize;
    } cases[] = {{VER_PLATFORM_WIN32_WINDOWS, 4, 0, kShort}, {VER_PLATFORM_WIN32_WINDOWS, 4, 10, kWhole},
                 {VER_PLATFORM_WIN32_NT, 4, 0, kShort},      {VER_PLATFORM_WIN32_NT, 5, 0, kWhole},
                 {VER_PLATFORM_WIN32_NT, 5, 1, kWhole},      {VER_PLATFORM_WIN32_NT, 6, 0, kWhole}};
    for (const auto& c : cases) {
        winsim::Reset();
        winsim::SetVersion(c.platformId, c.major, c.minor);
        EXPECT_EQ(MenuItemInfoSize(), c.recordSize) << c.platformId << " " << c.major << "." << c.minor;
    }
    winsim::Reset();
    winsim::FailCall("GetVersionExA", 1, ERROR_INVALID_PARAMETER);
    EXPECT_EQ(MenuItemInfoSize(), kShort) << "a failed version query";
}

}  // namespace
}  // namespace mvorbel
