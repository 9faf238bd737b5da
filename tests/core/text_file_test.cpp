#include "core/text_file.h"

#include "tests/core/drive_c_fixture.h"

namespace mvorbel {
namespace {

using TextFile = testing::DriveC;

// A failed step is kept with the system's code, and it stops the file: the reader is at its end
// and the writer writes nothing more, so that loops over them end.
TEST_F(TextFile, FailedStepsKeepTheSystemsCodeAndStopTheFile) {
    Put("t.txt", "a\r\nb\r\n");
    Put("ro.txt", "x", FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(DWORD{ERROR_ACCESS_DENIED}, TextWriter("C:\\ro.txt").Failure().code);
    TextReader reader("C:\\t.txt");
    TextWriter writer("C:\\w.txt");
    winsim::FailCall("ReadFile", 1, ERROR_READ_FAULT);
    EXPECT_EQ("", reader.ReadLine());
    EXPECT_EQ(DWORD{ERROR_READ_FAULT}, reader.Failure().code);
    EXPECT_TRUE(reader.AtEnd());
    winsim::FailCall("WriteFile", 1, ERROR_DISK_FULL);
    writer.WriteLine("x");
    writer.WriteLine("y");
    EXPECT_EQ(DWORD{ERROR_DISK_FULL}, writer.Failure().code);
    EXPECT_FALSE(writer.Close().raised);
    EXPECT_EQ("", Content("w.txt"));
    winsim::FailCall("CloseHandle", 1, ERROR_INVALID_HANDLE);
    EXPECT_EQ(DWORD{ERROR_INVALID_HANDLE}, reader.Close().code) << "a failed read does not keep the close from being tried";
}

}  // namespace
}  // namespace mvorbel
