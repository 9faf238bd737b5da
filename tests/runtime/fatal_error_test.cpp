#include "platform/runtime/fatal_error.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"
#include "platform/winsim/ui/ui_control.h"

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
        {"mvorbel.exe", "", start + ".\n."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, TopLevelErrorText("EInOutError", c.module, address, c.message).View()) << c.module;
    }
    const std::string cut(TopLevelErrorText("E", std::string(2000, 'm'), address, "x").View());
    EXPECT_EQ(std::size_t{MAX_PATH + 255}, cut.size()) << "cut to the buffer";
}

// The box is shown even with a quit message pending: it would close unseen.
TEST(FatalError, ShowsItsBoxEvenWithAQuitMessagePending) {
    winsim::Reset();
    PostQuitMessage(0);
    std::optional<UINT> code;
    try {
        FatalError("EOutOfMemory", nullptr, "Out of memory");
    } catch (const winsim::ProcessExit& exit) {
        code = exit.code;
    }
    EXPECT_EQ(1u, code.value_or(0));
    EXPECT_EQ(1u, winsim::Requests().size());
    EXPECT_EQ(0u, winsim::MessageBoxesCutShort());
    winsim::Reset();
}

}  // namespace
}  // namespace mvorbel
