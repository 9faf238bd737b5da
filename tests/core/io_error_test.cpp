#include "core/io_error.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>

#include "tests/support/process.h"

namespace mvorbel {
namespace {

TEST(InOutError, MessageFollowsTheRuntimesTable) {
    const std::pair<DWORD, const char*> cases[] = {
        {2, "File not found"}, {3, "Invalid filename"}, {4, "Too many open files"},
        {5, "File access denied"}, {100, "Read beyond end of file"}, {101, "Disk full"},
        {106, "Invalid numeric input"}, {32, "I/O error 32"}, {0, "I/O error 0"}, {0xDEADBEEF, "I/O error 3735928559"}};
    for (const auto& [code, message] : cases) EXPECT_EQ(message, IoErrorMessage(code).View()) << code;
}

// The box names the module by its file name and the address the error was raised at, not where it
// ends the process, in as many hex digits as a pointer has.
TEST(InOutError, RaisingEndsTheProcessInTheErrorBoxAtTheRaisingAddress) {
    testing::StartProcess();
    winsim::SetModuleFileName("C:\\Tools\\mvorbel.exe");
    const InOutError error = NewInOutError(ERROR_SHARING_VIOLATION);
    EXPECT_EQ("I/O error 32.", testing::Raised([&] { RaiseIfFailed(error); }));
    std::ostringstream address;
    address << std::hex << std::uppercase << std::setfill('0') << std::setw(2 * sizeof(void*))
            << reinterpret_cast<std::uintptr_t>(error.address);
    EXPECT_EQ("Exception EInOutError in module mvorbel.exe at " + address.str() + ".\nI/O error 32.",
              winsim::Requests().back().args.at(1));
    testing::StartProcess();
}

}  // namespace
}  // namespace mvorbel
