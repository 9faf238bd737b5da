#include "core/io_error.h"

#include <gtest/gtest.h>

namespace mvorbel {
namespace {

TEST(InOutError, MessageFollowsTheRuntimesTable) {
    const std::pair<DWORD, const char*> cases[] = {
        {2, "File not found"}, {3, "Invalid filename"}, {4, "Too many open files"},
        {5, "File access denied"}, {100, "Read beyond end of file"}, {101, "Disk full"},
        {106, "Invalid numeric input"}, {32, "I/O error 32"}};
    for (const auto& [code, message] : cases) EXPECT_STREQ(message, InOutError(code).what());
    try {
        RaiseInOutError(ERROR_SHARING_VIOLATION);
        FAIL() << "nothing raised";
    } catch (const InOutError& error) {
        EXPECT_NE(nullptr, error.Address());
    }
}

TEST(TopLevelErrorText, NamesClassModuleAddressAndMessage) {
    const void* address = reinterpret_cast<const void*>(std::uintptr_t{0x4A3B2C});
    const std::string hex = sizeof address == 8 ? "00000000004A3B2C" : "004A3B2C";
    const std::string start = "Exception EInOutError in module mvorbel.exe at " + hex;
    const struct {
        std::string module, message, text;
    } cases[] = {
        {"C:\\Tools\\mvorbel.exe", "File not found", start + ".\nFile not found."},
        {"mvorbel.exe", "Ends in a stop.", start + ".\nEnds in a stop."},
        {"mvorbel.exe", "", start + ".\n."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, TopLevelErrorText("EInOutError", c.module, address, c.message));
}

}  // namespace
}  // namespace mvorbel
