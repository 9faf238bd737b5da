#include "core/boot_file.h"
#include "tests/core/drive_c_fixture.h"

namespace mvorbel {
namespace {

using BootFileRead = testing::DriveC;

TEST_F(BootFileRead, ReadErrorsRaiseFromTheEntriesButEndTheDefaultScanQuietly) {
    Put("boot.ini", "default=a\r\n[operating systems]\r\na=1\r\n");
    winsim::FailCall("ReadFile", 1, ERROR_READ_FAULT);
    EXPECT_EQ("I/O error 30.", testing::Raised(ReadOsEntries));
    winsim::FailCall("ReadFile", 1, ERROR_READ_FAULT);
    EXPECT_EQ("", ReadDefaultKey());
    winsim::FailCall("CloseHandle", 1, ERROR_INVALID_HANDLE);
    EXPECT_EQ("I/O error 6.", testing::Raised(ReadDefaultKey)) << "a failed close raises";
}

}  // namespace
}  // namespace mvorbel
