#include "tests/platform/system_contract.h"

namespace contract {
namespace {

using SystemVersionContract = SystemContract;

TEST_F(SystemVersionContract, AcceptsBothRecordSizes) {
    OSVERSIONINFOA info = {sizeof info};
    ASSERT_TRUE(GetVersionExA(&info)) << "error " << GetLastError();
    EXPECT_EQ(info.dwPlatformId, DWORD{VER_PLATFORM_WIN32_NT});
    EXPECT_GE(info.dwMajorVersion, 4u);
    OSVERSIONINFOEXA extended = {sizeof extended};
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended))) << "error " << GetLastError();
    EXPECT_EQ(extended.dwPlatformId, info.dwPlatformId);
    EXPECT_EQ(extended.dwMajorVersion, info.dwMajorVersion);
}

TEST_F(SystemVersionContract, RefusesOtherSizes) {
    for (DWORD size : {DWORD{0}, DWORD{sizeof(OSVERSIONINFOA) - 1}, DWORD{sizeof(OSVERSIONINFOA) + 1}}) {
        OSVERSIONINFOEXA info = {size};
        info.dwPlatformId = 77;
        SetLastError(kSentinel);
        EXPECT_FALSE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) << "size " << size;
        EXPECT_EQ(GetLastError(), DWORD{ERROR_INSUFFICIENT_BUFFER}) << "size " << size;
        EXPECT_EQ(info.dwPlatformId, 77u) << "size " << size;
    }
}

}  // namespace
}  // namespace contract
