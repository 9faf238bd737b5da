#include <gtest/gtest.h>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"

namespace {

class SystemSecurity : public ::testing::Test {
protected:
    void SetUp() override { winsim::Reset(); }

    static HANDLE Token(DWORD access = TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY) {
        HANDLE token = nullptr;
        EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), access, &token));
        return token;
    }

    static TOKEN_PRIVILEGES Shutdown(DWORD attributes) {
        TOKEN_PRIVILEGES privileges = {1};
        EXPECT_TRUE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid));
        privileges.Privileges[0].Attributes = attributes;
        return privileges;
    }
};

TEST_F(SystemSecurity, LookupIgnoresCaseAndRejectsUnknownNames) {
    LUID luid = {};
    EXPECT_TRUE(LookupPrivilegeValueA(nullptr, "seshutdownprivilege", &luid));
    EXPECT_EQ(luid.LowPart, 19u);
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(LookupPrivilegeValueA(nullptr, "SeNoSuchPrivilege", &luid));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_NO_SUCH_PRIVILEGE});
}

TEST_F(SystemSecurity, EnableReportsPreviousStateOfChangedOnly) {
    HANDLE token = Token();
    TOKEN_PRIVILEGES wanted = Shutdown(SE_PRIVILEGE_ENABLED);
    TOKEN_PRIVILEGES previous = {};
    DWORD length = 0;
    SetLastError(0xDEADBEEF);
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &wanted, sizeof previous, &previous, &length));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SUCCESS});
    EXPECT_EQ(length, sizeof previous);
    EXPECT_EQ(previous.PrivilegeCount, 1u);
    EXPECT_EQ(previous.Privileges[0].Attributes, 0u);
    EXPECT_TRUE(winsim::PrivilegeEnabled(SE_SHUTDOWN_NAME));
    // Enabling again changes nothing, so nothing is reported.
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &wanted, sizeof previous, &previous, &length));
    EXPECT_EQ(previous.PrivilegeCount, 0u);
    CloseHandle(token);
}

TEST_F(SystemSecurity, PrivilegeNotHeldSucceedsWithNotAllAssigned) {
    winsim::SetPrivilegeHeld(SE_SHUTDOWN_NAME, false);
    HANDLE token = Token();
    TOKEN_PRIVILEGES wanted = Shutdown(SE_PRIVILEGE_ENABLED);
    SetLastError(0xDEADBEEF);
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &wanted, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_NOT_ALL_ASSIGNED});
    EXPECT_FALSE(winsim::PrivilegeEnabled(SE_SHUTDOWN_NAME));
    CloseHandle(token);
}

TEST_F(SystemSecurity, Refusals) {
    TOKEN_PRIVILEGES wanted = Shutdown(SE_PRIVILEGE_ENABLED);
    TOKEN_PRIVILEGES previous = {};
    DWORD length = 0;
    HANDLE queryOnly = Token(TOKEN_QUERY);
    HANDLE adjustOnly = Token(TOKEN_ADJUST_PRIVILEGES);
    HANDLE full = Token();
    struct Case {
        const char* what;
        HANDLE token;
        PTOKEN_PRIVILEGES previous;
        DWORD bufferLength;
        DWORD error;
    } cases[] = {
        {"no adjust right", queryOnly, nullptr, 0, ERROR_ACCESS_DENIED},
        {"previous state needs query", adjustOnly, &previous, sizeof previous, ERROR_ACCESS_DENIED},
        {"previous state too small", full, &previous, 4, ERROR_INSUFFICIENT_BUFFER},
        {"not a token", reinterpret_cast<HANDLE>(0x4444), nullptr, 0, ERROR_INVALID_HANDLE},
    };
    for (const auto& c : cases) {
        SetLastError(0xDEADBEEF);
        EXPECT_FALSE(AdjustTokenPrivileges(c.token, FALSE, &wanted, c.bufferLength, c.previous, &length)) << c.what;
        EXPECT_EQ(GetLastError(), c.error) << c.what;
        EXPECT_FALSE(winsim::PrivilegeEnabled(SE_SHUTDOWN_NAME)) << c.what;
    }
    EXPECT_EQ(length, sizeof previous) << "the size needed is reported";
    CloseHandle(queryOnly);
    CloseHandle(adjustOnly);
    CloseHandle(full);
}

TEST_F(SystemSecurity, NineXHasNoSecurity) {
    winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    HANDLE token = nullptr;
    LUID luid = {};
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_CALL_NOT_IMPLEMENTED});
    EXPECT_FALSE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &luid));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_CALL_NOT_IMPLEMENTED});
}

TEST_F(SystemSecurity, DisableAllDisablesEnabledByDefault) {
    HANDLE token = Token();
    ASSERT_TRUE(winsim::PrivilegeEnabled(SE_CHANGE_NOTIFY_NAME));
    EXPECT_TRUE(AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr));
    EXPECT_FALSE(winsim::PrivilegeEnabled(SE_CHANGE_NOTIFY_NAME));
    CloseHandle(token);
}

}  // namespace
