#include "core/text_file.h"

#include <functional>
#include <optional>

#include "core/io_error.h"
#include "tests/core/drive_c_fixture.h"

namespace mvorbel {
namespace {

class TextFile : public testing::DriveC {
 protected:
    std::vector<std::string> ReadAllLines(const std::string& content) {
        Put("t.txt", content);
        TextReader reader("C:\\t.txt");
        std::vector<std::string> lines;
        while (!reader.AtEnd()) lines.push_back(reader.ReadLine());
        EXPECT_EQ("", reader.ReadLine()) << "reading at the end gives an empty line";
        reader.Close();
        return lines;
    }

    // The code of the InOutError the step raises, 0 if none.
    template <class Step>
    static DWORD RaisedCode(Step step) {
        try {
            step();
        } catch (const InOutError& error) {
            return error.Code();
        }
        return 0;
    }
};

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
        {"a lone CR ends a line", "a\rb", {"a", "b"}},
        {"a lone LF is part of the line", "a\nb\r\n", {"a\nb"}},
        {"LF-only file is one line", "x=1\ny=2\n", {"x=1\ny=2\n"}},
        {"CR CR LF", "a\r\r\nb", {"a", "", "b"}},
        {"blank lines", "a\r\n\r\nb", {"a", "", "b"}},
        {"empty file", "", {}},
        {"Ctrl-Z ends the file", "a\r\nb\x1a" "c\r\nd", {"a", "b"}},
        {"Ctrl-Z first", "\x1a" "a\r\n", {}},
        {"Ctrl-Z right after a line end", "a\r\n\x1a", {"a"}},
        {"a CR LF split by the buffer", longLine + "\r\ny", {longLine, "y"}},
        {"a line longer than the buffer", std::string(10000, 'z') + "\r\n", {std::string(10000, 'z')}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.lines, ReadAllLines(c.content)) << c.what;
    }
}

TEST_F(TextFile, WrittenLinesEndInCrLfAndReplaceTheOldContent) {
    Put("w.txt", "old content that is longer");
    TextWriter writer("C:\\w.txt");
    writer.WriteLine("first");
    writer.WriteLine("");
    writer.WriteLine("x\ny");
    writer.Close();
    EXPECT_EQ("first\r\n\r\nx\ny\r\n", Content("w.txt"));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE), Attributes("w.txt"));
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
        {"closing", ERROR_INVALID_HANDLE,
         [] {
             TextReader reader("C:\\t.txt");
             winsim::FailCall("CloseHandle", 1, ERROR_INVALID_HANDLE);
             reader.Close();
         }},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.code, RaisedCode(c.step)) << c.what;
        winsim::ClearFaults();
    }
}

TEST_F(TextFile, OpenFilesMayBeReadByOthersButNotWritten) {
    Put("t.txt", "a\r\n");
    for (bool writing : {false, true}) {
        std::optional<TextReader> reader;
        std::optional<TextWriter> writer;
        if (writing) {
            writer.emplace("C:\\t.txt");
        } else {
            reader.emplace("C:\\t.txt");
        }
        HANDLE other = CreateFileA("C:\\t.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, other) << "writing " << writing;
        CloseHandle(other);
        SetLastError(0xDEADBEEF);
        other = CreateFileA("C:\\t.txt", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            0, nullptr);
        EXPECT_EQ(INVALID_HANDLE_VALUE, other) << "writing " << writing;
        EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError()) << "writing " << writing;
    }
    EXPECT_EQ(0u, winsim::OpenHandleCount()) << "destruction closes the files";
}

}  // namespace
}  // namespace mvorbel
