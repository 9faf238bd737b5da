#include "ui/menu_platform.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <tuple>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"
#include "ui/menu_object.h"

namespace mvorbel {
namespace {

TEST(MenuPlatformTest, TheRecordIsShortBeforeItsBitmapMemberAndTheWideCallsAreTheNtFamilys) {
    // 48 and 44 on the 32-bit build.
    constexpr UINT kWhole = sizeof(MENUITEMINFOA), kShort = offsetof(MENUITEMINFOA, hbmpItem);
    // platform (0: the version call refused), major and minor version, the record size that version
    // takes, its wide calls
    const std::tuple<DWORD, DWORD, DWORD, UINT, bool> cases[] = {
        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, kShort, false},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, kWhole, false},
        {VER_PLATFORM_WIN32_NT, 4, 0, kShort, true},
        {VER_PLATFORM_WIN32_NT, 5, 0, kWhole, true},
        {0, 5, 0, kShort, false}};
    for (const auto& [platform, major, minor, size, wide] : cases) {
        winsim::Reset();
        winsim::SetVersion(platform == 0 ? VER_PLATFORM_WIN32_NT : platform, major, minor);
        for (int nth : {1, 2}) {
            if (platform == 0) winsim::FailCall("GetVersionExA", nth, ERROR_INVALID_PARAMETER);
        }
        EXPECT_EQ(MenuItemInfoSize(), size) << platform << ": " << major << "." << minor;
        EXPECT_EQ(HasWideCalls(), wide) << platform << ": " << major << "." << minor;
    }
}

}  // namespace
}  // namespace mvorbel
