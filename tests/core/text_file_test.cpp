#include "core/text_file.h"

#include <functional>
#include <optional>

#include "core/io_error.h"
#include "tests/core/drive_c_fixture.h"

namespace mvorbel {
namespace {

using TextFile = testing::DriveC;
using Lines = std::vector<std::string>;

TEST_F(TextFile, LinesEndAtCarriageReturnsAndTheFileAtCtrlZ) {
    const std::string longLine(4095, 'x');  // puts the CR LF across the reader's buffer boundary
    const struct {
        const char* what;
        std::string content;
        Lines lines;
    } cases[] = {
        {"CR LF ends a line; no empty line after the last", "a\r\nb\r\n", {"a", "b"}},
        {"a last line without an end", "a\r\nb", {"a", "b"}},
        {"a lone LF is part of the line", "a\nb\r\n", {"a\nb"}},
        {"CR CR LF; a lone CR ends a line", "a\r\r\nb\rc", {"a", "", "b", "c"}},
        {"empty file", "", {}},
        {"Ctrl-Z ends the file", "a\r\nb\x1a" "c\r\nd", {"a", "b"}},
        {"Ctrl-Z right after a line end", "a\r\n\x1a", {"a"}},
        {"a CR LF split by the buffer", longLine + "\r\ny", {longLine, "y"}},
        {"a line longer than the buffer", std::string(10000, 'z') + "\r\n", {std::string(10000, 'z')}},
    };
    for (const auto& c : cases) {
        Put("t.txt", c.content);
        TextReader reader("C:\\t.txt");
        Lines lines;
        while (!reader.AtEnd()) lines.push_back(reader.ReadLine());
        EXPECT_EQ(c.lines, lines) << c.what;
        EXPECT_EQ("", reader.ReadLine()) << c.what << ": reading at the end gives an empty line";
    }
}

TEST_F(TextFile, WrittenLinesEndInCrLfAndReplaceTheOldContent) {
    Put("w.txt", "old content that is longer");
    TextWriter writer("C:\\w.txt");
    for (const char* line : {"first", "", "x\ny"}) writer.WriteLine(line);
    writer.Close();
    EXPECT_EQ("first\r\n\r\nx\ny\r\n", Content("w.txt"));
}

TEST_F(TextFile, FailedStepsRaiseTheSystemsCode) {
    Put("t.txt", "a\r\nb\r\n");
    Put("ro.txt", "x", FILE_ATTRIBUTE_READONLY);
    const struct {
        const char* what;
        DWORD code;
        std::function<void()> step;
    } cases[] = {
        {"opening a missing file", ERROR_FILE_NOT_FOUND, [] { TextReader("C:\\missing.txt"); }},
        {"creating over a read-only file", ERROR_ACCESS_DENIED, [] { TextWriter("C:\\ro.txt"); }},
        {"reading", ERROR_READ_FAULT,
         [] {
             TextReader reader("C:\\t.txt");
             winsim::FailCall("ReadFile", 1, ERROR_READ_FAULT);
             reader.ReadLine();
         }},
        {"writing to a full disk", ERROR_DISK_FULL,
         [] {
             TextWriter writer("C:\\w.txt");
             winsim::FailCall("WriteFile", 1, ERROR_DISK_FULL);
             writer.WriteLine("x");
         }},
    };
    for (const auto& c : cases) {
        DWORD raised = 0;
        try {
            c.step();
        } catch (const InOutError& error) {
            raised = error.Code();
        }
        EXPECT_EQ(c.code, raised) << c.what;
        winsim::ClearFaults();
    }
}

TEST_F(TextFile, OpenFilesMayBeReadByOthersButNotWritten) {
    Put("t.txt", "a\r\n");
    for (bool writing : {false, true}) {
        std::optional<TextReader> reader;
        std::optional<TextWriter> writer;
        if (writing) writer.emplace("C:\\t.txt");
        else reader.emplace("C:\\t.txt");
        for (DWORD access : {DWORD{GENERIC_READ}, DWORD{GENERIC_WRITE}}) {
            SetLastError(0xDEADBEEF);
            HANDLE other = CreateFileA("C:\\t.txt", access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
            const bool opened = other != INVALID_HANDLE_VALUE;
            EXPECT_EQ(access == GENERIC_READ, opened) << "writing " << writing << " access " << std::hex << access;
            if (opened) CloseHandle(other);
            else EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError()) << "writing " << writing;
        }
    }
    EXPECT_EQ(0u, winsim::OpenHandleCount()) << "destruction closes the files";
}

}  // namespace
}  // namespace mvorbel
