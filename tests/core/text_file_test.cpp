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
    EXPECT_EQ(DWORD{ERROR_FILE_NOT_FOUND}, TextReader("C:\\none.txt").Failure().code);
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

// What another open of t.txt gets while a text file has it open: 0 when it opens.
DWORD OtherOpen(DWORD access) {
    SetLastError(0xDEADBEEF);
    HANDLE other = CreateFileA("C:\\t.txt", access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (other == INVALID_HANDLE_VALUE) return GetLastError();
    CloseHandle(other);
    return 0;
}

TEST_F(TextFile, OpenFilesMayBeReadByOthersButNotWritten) {
    Put("t.txt", "a\r\n");
    {
        TextReader reader("C:\\t.txt");
        EXPECT_EQ(0u, OtherOpen(GENERIC_READ)) << "reading";
        EXPECT_EQ(DWORD{ERROR_SHARING_VIOLATION}, OtherOpen(GENERIC_WRITE)) << "reading";
    }
    TextWriter writer("C:\\t.txt");
    EXPECT_EQ(0u, OtherOpen(GENERIC_READ)) << "writing";
    EXPECT_EQ(DWORD{ERROR_SHARING_VIOLATION}, OtherOpen(GENERIC_WRITE)) << "writing";
    writer.Close();
    EXPECT_EQ(0u, winsim::OpenHandleCount()) << "the files are closed";
}

}  // namespace
}  // namespace mvorbel
