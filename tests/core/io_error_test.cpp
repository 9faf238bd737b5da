#include "core/io_error.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace mvorbel {
namespace {

TEST(IoErrorMessage, FollowsTheRuntimesTable) {
    const struct {
        DWORD code;
        const char* message;
    } cases[] = {{2, "File not found"},         {3, "Invalid filename"},  {4, "Too many open files"},
                 {5, "File access denied"},     {100, "Read beyond end of file"}, {101, "Disk full"},
                 {106, "Invalid numeric input"}, {32, "I/O error 32"},     {112, "I/O error 112"},
                 {0, "I/O error 0"}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.message, IoErrorMessage(c.code)) << c.code;
        InOutError error(c.code);
        EXPECT_EQ(c.code, error.Code());
        EXPECT_STREQ(c.message, error.what());
    }
}

TEST(RaiseInOutError, CarriesTheCodeAndTheRaisingAddress) {
    try {
        RaiseInOutError(ERROR_SHARING_VIOLATION);
        FAIL() << "nothing raised";
    } catch (const InOutError& error) {
        EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), error.Code());
        EXPECT_EQ("I/O error 32", error.Message());
        EXPECT_NE(nullptr, error.Address());
    }
}

TEST(TopLevelErrorText, NamesClassModuleAddressAndMessage) {
    const void* address = reinterpret_cast<const void*>(std::uintptr_t{0x4A3B2C});
    char hex[32];
    std::snprintf(hex, sizeof hex, "%0*llX", static_cast<int>(2 * sizeof(void*)), 0x4A3B2CULL);
    const struct {
        std::string module, message, text;
    } cases[] = {
        {"C:\\Tools\\mvorbel.exe", "File not found",
         std::string("Exception EInOutError in module mvorbel.exe at ") + hex + ".\nFile not found."},
        {"mvorbel.exe", "Ends in a stop.",
         std::string("Exception EInOutError in module mvorbel.exe at ") + hex + ".\nEnds in a stop."},
        {"mvorbel.exe", "", std::string("Exception EInOutError in module mvorbel.exe at ") + hex + ".\n."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, TopLevelErrorText("EInOutError", c.module, address, c.message)) << c.message;
    }
}

}  // namespace
}  // namespace mvorbel
