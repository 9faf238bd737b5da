#include <gtest/gtest.h>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"

namespace {

class SystemVersion : public ::testing::Test {
protected:
    void SetUp() override { winsim::Reset(); }
};

TEST_F(SystemVersion, DefaultsToWindowsXp) {
    OSVERSIONINFOA info = {sizeof info};
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, DWORD{VER_PLATFORM_WIN32_NT});
    EXPECT_EQ(info.dwMajorVersion, 5u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_EQ(info.dwBuildNumber, 2600u);
}

TEST_F(SystemVersion, NinetyEightPacksVersionIntoBuildNumber) {
    winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    OSVERSIONINFOA info = {sizeof info};
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, DWORD{VER_PLATFORM_WIN32_WINDOWS});
    EXPECT_EQ(info.dwBuildNumber, 0x040A07CEu) << std::hex << info.dwBuildNumber;
}

TEST_F(SystemVersion, ResetReturnsToNtFamily) {
    winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 90);
    winsim::Reset();
    OSVERSIONINFOA info = {sizeof info};
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, DWORD{VER_PLATFORM_WIN32_NT});
}

TEST_F(SystemVersion, InjectedFailureSetsTheGivenError) {
    winsim::FailCall("GetVersionExA", 1, ERROR_ACCESS_DENIED);
    OSVERSIONINFOA info = {sizeof info};
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(GetVersionExA(&info));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(info.dwPlatformId, 0u);
}

}  // namespace
