#include "platform/runtime/fatal_error.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"

namespace mvorbel {
namespace {

TEST(TopLevelErrorText, NamesClassModuleAddressAndMessage) {
    const void* address = reinterpret_cast<const void*>(std::uintptr_t{0x4A3B2C});
    const std::string hex = sizeof address == 8 ? "00000000004A3B2C" : "004A3B2C";
    const std::string start = "Exception EInOutError in module mvorbel.exe at " + hex;
    const struct {
        std::string module, message, text;
    } cases[] = {
        {"C:\\Tools\\mvorbel.exe", "File not found", start + ".\nFile not found."},
        {"mvorbel.exe", "Ends in a stop.", start + ".\nEnds in a stop."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, TopLevelErrorText("EInOutError", c.module, address, c.message).View()) << c.module;
    }
    const std::string cut(TopLevelErrorText("E", std::string(2000, 'm'), address, "x").View());
    EXPECT_EQ(std::size_t{MAX_PATH + 255}, cut.size()) << "cut to the buffer";
}

}  // namespace
}  // namespace mvorbel
