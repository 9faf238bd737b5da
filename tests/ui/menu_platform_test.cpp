#include "ui/menu_platform.h"

#include <gtest/gtest.h>

#include <cstddef>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"
#include "ui/menu_object.h"

namespace mvorbel {
namespace {

struct VersionCase {
    DWORD platformId, major, minor;
    MenuPlatform expected;
    bool wholeRecord;
};

class MenuPlatformTest : public ::testing::TestWithParam<VersionCase> {
protected:
    void SetUp() override { winsim::Reset(); }
};

TEST_P(MenuPlatformTest, ClassifiesAndSizesTheMenuRecord) {
    const VersionCase& c = GetParam();
    EXPECT_EQ(ClassifyMenuPlatform(c.platformId, c.major, c.minor), c.expected)
        << c.platformId << " " << c.major << "." << c.minor;
    if (c.platformId == VER_PLATFORM_WIN32_NT || c.platformId == VER_PLATFORM_WIN32_WINDOWS) {
        winsim::SetVersion(c.platformId, c.major, c.minor);
        // 48 and 44 on the 32-bit build.
        const UINT expected = c.wholeRecord ? sizeof(MENUITEMINFOA) : offsetof(MENUITEMINFOA, hbmpItem);
        EXPECT_EQ(MenuItemInfoSize(), expected) << c.platformId << " " << c.major << "." << c.minor;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MenuPlatformTest,
    ::testing::Values(VersionCase{VER_PLATFORM_WIN32_WINDOWS, 4, 0, MenuPlatform::Windows95, false},
                      VersionCase{VER_PLATFORM_WIN32_WINDOWS, 4, 10, MenuPlatform::Windows98Me, true},
                      VersionCase{VER_PLATFORM_WIN32_WINDOWS, 4, 90, MenuPlatform::Windows98Me, true},
                      VersionCase{VER_PLATFORM_WIN32_NT, 4, 0, MenuPlatform::NT4OrOlder, false},
                      VersionCase{VER_PLATFORM_WIN32_NT, 5, 0, MenuPlatform::Windows2000, true},
                      VersionCase{VER_PLATFORM_WIN32_NT, 5, 1, MenuPlatform::XPOrLater, true},
                      VersionCase{VER_PLATFORM_WIN32_NT, 6, 0, MenuPlatform::Windows2000, true},
                      VersionCase{0, 3, 11, MenuPlatform::Unrecognised, false}));

TEST(MenuPlatformFailure, AFailedVersionQueryCountsAsUnrecognised) {
    winsim::Reset();
    winsim::FailCall("GetVersionExA", 1, ERROR_INVALID_PARAMETER);
    EXPECT_EQ(CurrentMenuPlatform(), MenuPlatform::Unrecognised);
}

}  // namespace
}  // namespace mvorbel
