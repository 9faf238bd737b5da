#include "tests/platform/system_contract.h"

namespace contract {
namespace {

class SystemTokenContract : public SystemContract {
 protected:
    static TOKEN_PRIVILEGES ShutdownPrivilege(DWORD attributes) {
        TOKEN_PRIVILEGES privileges = {1};
        EXPECT_TRUE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid));
        privileges.Privileges[0].Attributes = attributes;
        return privileges;
    }
};

TEST_F(SystemTokenContract, LooksUpPrivilegesByNameInAnyCase) {
    LUID luid = {};
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, "SESHUTDOWNPRIVILEGE", &luid)) << "error " << GetLastError();
    EXPECT_EQ(luid.LowPart, 19u);
    EXPECT_EQ(luid.HighPart, 0);
    SetLastError(kSentinel);
    EXPECT_FALSE(LookupPrivilegeValueA(nullptr, "SeNoSuchPrivilege", &luid));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_SUCH_PRIVILEGE});
}

TEST_F(SystemTokenContract, EnablesShutdownPrivilege) {
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        << "error " << GetLastError();
    TOKEN_PRIVILEGES enable = ShutdownPrivilege(SE_PRIVILEGE_ENABLED);
    TOKEN_PRIVILEGES previous = {};
    DWORD length = 0;
    SetLastError(kSentinel);
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &enable, sizeof previous, &previous, &length))
        << "error " << GetLastError();
    DWORD error = GetLastError();
    EXPECT_TRUE(error == ERROR_SUCCESS || error == ERROR_NOT_ALL_ASSIGNED) << "last error " << error;
    EXPECT_LE(length, DWORD{sizeof previous});
    EXPECT_LE(previous.PrivilegeCount, 1u);
    // Put the token back as it was.
    if (previous.PrivilegeCount == 1) {
        EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &previous, 0, nullptr, nullptr));
    }
    EXPECT_TRUE(CloseHandle(token));
}

TEST_F(SystemTokenContract, AdjustingNeedsTheAdjustRight) {
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) << "error " << GetLastError();
    TOKEN_PRIVILEGES enable = ShutdownPrivilege(SE_PRIVILEGE_ENABLED);
    SetLastError(kSentinel);
    EXPECT_FALSE(AdjustTokenPrivileges(token, FALSE, &enable, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    EXPECT_TRUE(CloseHandle(token));
}

}  // namespace
}  // namespace contract
