#include <gtest/gtest.h>

#include "core/power.h"
#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"

namespace {

struct FamilyCase {
    DWORD platformId;
    DWORD major;
    DWORD minor;
    bool win9x;
};

class PowerFamily : public ::testing::TestWithParam<FamilyCase> {
protected:
    void SetUp() override { winsim::Reset(); }
};

TEST_P(PowerFamily, FollowsThePlatformId) {
    const auto& c = GetParam();
    winsim::SetVersion(c.platformId, c.major, c.minor);
    EXPECT_EQ(mvorbel::IsWin9xFamily(), c.win9x) << "platform " << c.platformId << " " << c.major << "." << c.minor;
}

INSTANTIATE_TEST_SUITE_P(Versions, PowerFamily,
                         ::testing::Values(FamilyCase{VER_PLATFORM_WIN32_WINDOWS, 4, 0, true},
                                           FamilyCase{VER_PLATFORM_WIN32_WINDOWS, 4, 10, true},
                                           FamilyCase{VER_PLATFORM_WIN32_WINDOWS, 4, 90, true},
                                           FamilyCase{VER_PLATFORM_WIN32s, 3, 10, true},
                                           FamilyCase{VER_PLATFORM_WIN32_NT, 4, 0, false},
                                           FamilyCase{VER_PLATFORM_WIN32_NT, 5, 1, false}));

TEST(PowerFamilyFailure, RefusedVersionCallCountsAsNineX) {
    winsim::Reset();
    winsim::FailCall("GetVersionExA", 1, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(mvorbel::IsWin9xFamily());
}

}  // namespace
