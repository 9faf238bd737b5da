// The file calls: CreateFileA and its I/O, attributes, find, delete, copy, move, and file times.
#include "tests/platform/contract_fixture.h"

namespace contract {
namespace {

constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY, kHidden = FILE_ATTRIBUTE_HIDDEN,
                kSystem = FILE_ATTRIBUTE_SYSTEM, kArchive = FILE_ATTRIBUTE_ARCHIVE;
constexpr DWORD kRead = GENERIC_READ, kWrite = GENERIC_WRITE, kShareRead = FILE_SHARE_READ,
                kShareBoth = FILE_SHARE_READ | FILE_SHARE_WRITE;

class FilesContract : public FileContract {
 protected:
    // Opens and closes again, keeping the open's last error: for tables of refusals.
    std::function<bool()> Opens(const std::string& name, DWORD disposition) {
        return [=, this] {
            HANDLE file = Open(name, kWrite, 0, disposition);
            DWORD error = GetLastError();
            if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
            SetLastError(error);
            return file != INVALID_HANDLE_VALUE;
        };
    }
};

TEST_F(FilesContract, RefusalsKeepTheTargetAndSetWindowsErrorCodes) {
    for (auto [name, attributes] :
         {std::pair{"there.txt", kArchive}, {"hidden.txt", kHidden}, {"system.txt", kSystem},
          {"ro.txt", kReadOnly}, {"target.txt", kHidden | kSystem},
          {"boot.ini", kReadOnly | kHidden | kSystem}})
        MakeFile(name, "old", attributes);
    MakeFile("from.txt", "new");
    MakeFile("open.txt", "x");
    MakeLink("same.txt", "from.txt");
    MakeLink("ro-link.txt", "ro.txt");
    HANDLE open = Open("open.txt", kRead, kShareRead, OPEN_EXISTING);
    auto one = [this](auto call, const char* name) {
        return [=, this] { return call(Path(name).c_str()); };
    };
    auto two = [this](auto call, const char* to, DWORD flag, const char* from = "from.txt") {
        return [=, this] { return call(Path(from).c_str(), Path(to).c_str(), flag); };
    };
    auto hide = [](const char* path) { return SetFileAttributesA(path, kHidden); };
    auto find = [this](const char* pattern) {
        return [=, this] {
            WIN32_FIND_DATAA found = {};
            return FindFirstFileA(Path(pattern).c_str(), &found) != INVALID_HANDLE_VALUE;
        };
    };
    ExpectRefusals({
        {"open a missing file", Opens("missing.txt", OPEN_EXISTING), ERROR_FILE_NOT_FOUND},
        {"open in a missing folder", Opens("nofolder\\x.txt", OPEN_EXISTING), ERROR_PATH_NOT_FOUND},
        {"CREATE_NEW on an existing file", Opens("there.txt", CREATE_NEW), ERROR_FILE_EXISTS},
        {"CREATE_ALWAYS on a hidden file", Opens("hidden.txt", CREATE_ALWAYS), ERROR_ACCESS_DENIED,
         "CreateFileA CREATE_ALWAYS overwrites a hidden file (Windows: ERROR_ACCESS_DENIED)"},
        {"CREATE_ALWAYS on a system file", Opens("system.txt", CREATE_ALWAYS), ERROR_ACCESS_DENIED,
         "CreateFileA CREATE_ALWAYS overwrites a system file (Windows: ERROR_ACCESS_DENIED)"},
        // Wine keeps read-only as the owner's write bit, which a root user writes through.
        {"CREATE_ALWAYS on a read-only file", Opens("ro.txt", CREATE_ALWAYS), ERROR_ACCESS_DENIED,
         "CreateFileA CREATE_ALWAYS overwrites a read-only file when run as root "
         "(Windows: ERROR_ACCESS_DENIED)"},
        {"attributes of a missing file", one(hide, "missing.txt"), ERROR_FILE_NOT_FOUND},
        {"delete a read-only file", one(DeleteFileA, "ro.txt"), ERROR_ACCESS_DENIED},
        {"delete another name of a read-only file", one(DeleteFileA, "ro-link.txt"), ERROR_ACCESS_DENIED},
        {"delete a missing file", one(DeleteFileA, "missing.txt"), ERROR_FILE_NOT_FOUND},
        {"delete an open file", one(DeleteFileA, "open.txt"), ERROR_SHARING_VIOLATION},
        {"copy onto an existing file", two(CopyFileA, "there.txt", TRUE), ERROR_FILE_EXISTS},
        {"copy a missing file", two(CopyFileA, "x", FALSE, "missing.txt"), ERROR_FILE_NOT_FOUND},
        {"copy onto another name of the file", two(CopyFileA, "same.txt", FALSE), ERROR_SHARING_VIOLATION},
        {"copy onto a hidden system file", two(CopyFileA, "target.txt", FALSE), ERROR_ACCESS_DENIED,
         "CopyFileA onto a hidden file succeeds (Windows: ERROR_ACCESS_DENIED)"},
        {"move onto an existing file", two(MoveFileExA, "there.txt", 0), ERROR_ALREADY_EXISTS},
        {"replace a read-only file", two(MoveFileExA, "boot.ini", MOVEFILE_REPLACE_EXISTING), ERROR_ACCESS_DENIED,
         "MoveFileExA replaces a read-only file (Windows: ERROR_ACCESS_DENIED)"},
        {"find nothing", find("none.txt"), ERROR_FILE_NOT_FOUND},
        {"find in a missing folder", find("nofolder\\*"), ERROR_PATH_NOT_FOUND},
    });
    CloseHandle(open);
    EXPECT_EQ("old", ReadAll("there.txt"));
    if (!UnderWine()) {
        for (const char* name : {"hidden.txt", "system.txt", "ro.txt", "target.txt", "boot.ini"})
            EXPECT_EQ("old", ReadAll(name)) << name;
        EXPECT_EQ("new", ReadAll("from.txt"));
    }
}

TEST_F(FilesContract, OpeningTellsWhetherTheFileExistedAndNamesIgnoreCaseAndSlash) {
    MakeFile("There.TXT", "old");
    const struct { DWORD disposition; const char* name; DWORD error; } cases[] = {
        {CREATE_ALWAYS, "tHERE.txt", ERROR_ALREADY_EXISTS},
        {CREATE_ALWAYS, "new1.txt", ERROR_SUCCESS},
        {CREATE_NEW, "new2.txt", ERROR_SUCCESS}};
    for (const auto& c : cases) {
        SetLastError(kSentinel);
        HANDLE file = Open(c.name, kWrite, 0, c.disposition);
        DWORD error = GetLastError();
        EXPECT_NE(INVALID_HANDLE_VALUE, file) << c.name << " " << c.disposition;
        EXPECT_EQ(c.error, error) << c.name << " " << c.disposition << ": got " << error;
        CloseHandle(file);
    }
    EXPECT_EQ("", ReadAll("there.txt")) << "CREATE_ALWAYS empties the file";
    MakeFolder("Sub");
    MakeFile("sub\\inner.txt", "inner");
    EXPECT_EQ("inner", ReadAll("SUB/Inner.TXT"));
}

TEST_F(FilesContract, SharingModesAreEnforced) {
    MakeFile("shared.txt", "x");
    MakeLink("link.txt", "shared.txt");
    const DWORD kNo = ERROR_SHARING_VIOLATION;
    // error 0: the second open succeeds
    const struct {
        const char* what;
        DWORD access1, share1, access2, share2, error;
        const char* second = "shared.txt";
    } cases[] = {
        {"two readers sharing read", kRead, kShareRead, kRead, kShareRead, 0},
        {"a writer while a reader shares read only", kRead, kShareRead, kWrite, kShareRead, kNo},
        {"a reader that does not share with a reader", kRead, kShareRead, kRead, 0, kNo},
        {"a reader while a writer shares read", kWrite, kShareRead, kRead, kShareBoth, 0},
        {"closing ended the restrictions", kRead, kShareBoth, kWrite, kShareRead, 0},
        {"a writer through another name of the file", kRead, kShareRead, kWrite, kShareBoth, kNo,
         "link.txt"},
    };
    for (const auto& c : cases) {
        HANDLE first = Open("shared.txt", c.access1, c.share1, OPEN_EXISTING);
        ASSERT_NE(INVALID_HANDLE_VALUE, first) << c.what;
        SetLastError(kSentinel);
        HANDLE second = Open(c.second, c.access2, c.share2, OPEN_EXISTING);
        DWORD error = second == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        EXPECT_EQ(c.error, error) << c.what << ": got " << error;
        if (second != INVALID_HANDLE_VALUE) CloseHandle(second);
        CloseHandle(first);
    }
}

TEST_F(FilesContract, ReadWriteEndOfFileAndClosedHandles) {
    HANDLE file = Open("data.bin", kWrite, 0, CREATE_NEW);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0, got = 99;
    char buffer[8];
    auto write = [&] { return WriteFile(file, "x", 1, &written, nullptr); };
    EXPECT_TRUE(WriteFile(file, "abc\r\n\x1a", 6, &written, nullptr));
    EXPECT_TRUE(FlushFileBuffers(file));
    auto read = [&] { return ReadFile(file, buffer, 8, &got, nullptr); };
    ExpectRefusals({{"read from a write-only handle", read, ERROR_ACCESS_DENIED}});
    CloseHandle(file);
    file = Open("data.bin", kRead, kShareRead, OPEN_EXISTING);
    EXPECT_TRUE(ReadFile(file, buffer, 4, &got, nullptr));
    EXPECT_EQ("abc\r", std::string(buffer, got));
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &got, nullptr));
    EXPECT_EQ("\n\x1a", std::string(buffer, got));
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &got, nullptr));
    EXPECT_EQ(0u, got) << "the end of the file reads as success with nothing";
    ExpectRefusals({{"write to a read-only handle", write, ERROR_ACCESS_DENIED}});
    EXPECT_TRUE(CloseHandle(file));
    ExpectRefusals({
        {"write to a closed handle", write, ERROR_INVALID_HANDLE},
        {"close a closed handle", [&] { return CloseHandle(file); }, ERROR_INVALID_HANDLE},
    });
}

TEST_F(FilesContract, AttributesAreKeptPerFileAndTravelWithCopyMoveAndReplace) {
    // Wine reports every file as an archive, whatever was set.
    const DWORD wineAdds = UnderWine() ? kArchive : 0;
    if (wineAdds != 0) NoteWineDeviation("GetFileAttributesA reports ARCHIVE on every file");
    MakeFile("new.txt", "x");
    EXPECT_EQ(kArchive, Attributes("new.txt")) << "new files are archive files";
    for (DWORD set : {kReadOnly, kHidden | kSystem, kReadOnly | kHidden | kSystem | kArchive,
                      DWORD{FILE_ATTRIBUTE_NORMAL}}) {
        ASSERT_TRUE(SetFileAttributesA(Path("new.txt").c_str(), set));
        DWORD expected = set == FILE_ATTRIBUTE_NORMAL && wineAdds ? kArchive : set | wineAdds;
        EXPECT_EQ(expected, Attributes("new.txt")) << std::hex << "set " << set;
    }
    MakeFolder("dir");
    EXPECT_TRUE(Attributes("dir") & FILE_ATTRIBUTE_DIRECTORY) << std::hex << Attributes("dir");

    const DWORD hiddenSystem = kHidden | kSystem | kArchive;
    MakeFile("from.txt", "content", hiddenSystem);
    EXPECT_TRUE(CopyFileA(Path("from.txt").c_str(), Path("copy.txt").c_str(), TRUE));
    EXPECT_EQ("content", ReadAll("copy.txt"));
    EXPECT_EQ(hiddenSystem, Attributes("copy.txt"));
    MakeFile("old.txt", "old");
    EXPECT_TRUE(CopyFileA(Path("new.txt").c_str(), Path("old.txt").c_str(), FALSE))
        << "error " << GetLastError();
    EXPECT_EQ("x", ReadAll("old.txt"));
    EXPECT_TRUE(MoveFileA(Path("from.txt").c_str(), Path("moved.txt").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes("from.txt"));
    EXPECT_EQ(hiddenSystem, Attributes("moved.txt"));
    EXPECT_TRUE(DeleteFileA(Path("moved.txt").c_str())) << "hidden and system don't protect a file";

    MakeFile("new.tmp", "new text");
    MakeFile("boot.ini", "old text", kHidden | kSystem);
    EXPECT_TRUE(MoveFileExA(Path("new.tmp").c_str(), Path("boot.ini").c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        << "error " << GetLastError();
    EXPECT_EQ("new text", ReadAll("boot.ini"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes("new.tmp"));
    EXPECT_EQ(kArchive, Attributes("boot.ini")) << "the replacement brings its own attributes";
}

// Hard links are names of one file: content and attributes belong to the file, each name moves
// and goes on its own.
TEST_F(FilesContract, HardLinksShareContentAndAttributesAndMoveAndGoByName) {
    MakeFile("a.txt", "first");
    MakeLink("b.txt", "a.txt");
    EXPECT_EQ("first", ReadAll("b.txt"));
    ASSERT_TRUE(SetFileAttributesA(Path("a.txt").c_str(), kHidden | kArchive));
    EXPECT_EQ(kHidden | kArchive, Attributes("b.txt"));
    ASSERT_TRUE(SetFileAttributesA(Path("b.txt").c_str(), kArchive));

    MakeFile("new.txt", "second");
    EXPECT_TRUE(CopyFileA(Path("new.txt").c_str(), Path("b.txt").c_str(), FALSE))
        << "error " << GetLastError();
    EXPECT_EQ("second", ReadAll("a.txt")) << "the copy overwrote the file in place";
    EXPECT_TRUE(MoveFileA(Path("b.txt").c_str(), Path("c.txt").c_str()));
    MakeFile("other.txt", "other");
    EXPECT_TRUE(MoveFileExA(Path("c.txt").c_str(), Path("other.txt").c_str(), MOVEFILE_REPLACE_EXISTING));
    MakeFile("a.txt", "third");
    EXPECT_TRUE(DeleteFileA(Path("a.txt").c_str()));
    const struct { const char* name; const char* content; } after[] = {
        {"a.txt", "<missing>"}, {"b.txt", "<missing>"}, {"c.txt", "<missing>"}, {"other.txt", "third"}};
    for (const auto& file : after) EXPECT_EQ(file.content, ReadAll(file.name)) << file.name;
}

TEST_F(FilesContract, FindReportsNameSizeAttributesAndTime) {
    MakeFile("data.bin", std::string(1234, 'x'), kHidden | kArchive);
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA(Path("DATA.BIN").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search) << "error " << GetLastError();
    EXPECT_STREQ("data.bin", found.cFileName);
    EXPECT_EQ(1234u, found.nFileSizeLow);
    EXPECT_EQ(0u, found.nFileSizeHigh);
    EXPECT_EQ(kHidden | kArchive, found.dwFileAttributes);
    WORD date = 0, time = 0;
    EXPECT_TRUE(FileTimeToDosDateTime(&found.ftLastWriteTime, &date, &time));
    EXPECT_GE(1980 + (date >> 9), 2020) << "a file written now has a recent last-write time";
    EXPECT_TRUE(FindClose(search));
}

FILETIME FromTicks(ULONGLONG ticks) { return {DWORD(ticks), DWORD(ticks >> 32)}; }
constexpr WORD Date(int y, int m, int d) { return WORD(((y - 1980) << 9) | (m << 5) | d); }
constexpr WORD Time(int h, int m, int s) { return WORD((h << 11) | (m << 5) | (s / 2)); }

TEST(FileTimeContract, DosDateTimeCountsFrom1980To2107InTwoSecondSteps) {
    const struct {
        const char* when;
        ULONGLONG ticks;
        WORD date, time;  // date 0: refused
        const char* wineDeviation = nullptr;
    } cases[] = {
        {"1979-12-31 23:59:59", 119600063990000000ULL, 0, 0},
        {"1980-01-01 00:00:00", 119600064000000000ULL, Date(1980, 1, 1), 0},
        {"2004-02-29 13:45:31", 127225359310000000ULL, Date(2004, 2, 29), Time(13, 45, 31)},
        {"2107-12-31 23:59:59", 159992927990000000ULL, Date(2107, 12, 31), Time(23, 59, 59)},
        {"2108-01-01 00:00:00", 159992928000000000ULL, 0, 0,
         "FileTimeToDosDateTime accepts years after 2107"},
    };
    for (const auto& c : cases) {
        FILETIME time = FromTicks(c.ticks);
        WORD date = 0, dosTime = 0;
        auto convert = [&] { return FileTimeToDosDateTime(&time, &date, &dosTime); };
        if (c.date == 0) {
            ExpectRefusals({{c.when, convert, ERROR_INVALID_PARAMETER, c.wineDeviation}});
            continue;
        }
        EXPECT_TRUE(convert()) << c.when;
        EXPECT_EQ(c.date, date) << c.when;
        EXPECT_EQ(c.time, dosTime) << c.when;
    }
}

TEST(FileTimeContract, LocalTimeIsShiftedByWholeQuarterHours) {
    const ULONGLONG utc = 134410572000000000ULL;
    FILETIME in = FromTicks(utc), local = {};
    ASSERT_TRUE(FileTimeToLocalFileTime(&in, &local));
    auto shift = LONGLONG((ULONGLONG{local.dwHighDateTime} << 32 | local.dwLowDateTime) - utc);
    constexpr LONGLONG kQuarterHour = 15LL * 60 * 10000000;
    EXPECT_EQ(0, shift % kQuarterHour) << shift;
    EXPECT_LE(shift < 0 ? -shift : shift, 14 * 4 * kQuarterHour) << shift;
}

}  // namespace
}  // namespace contract
