// The file calls as the boot file's rewrite makes them: CreateFileA and its I/O, attributes, delete,
// copy, move and replace, and find with the file times.
#include "tests/platform/contract_fixture.h"

namespace contract {
namespace {

constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY, kHidden = FILE_ATTRIBUTE_HIDDEN,
                kSystem = FILE_ATTRIBUTE_SYSTEM, kArchive = FILE_ATTRIBUTE_ARCHIVE;
constexpr DWORD kReplace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

// The error codes the product reports or falls back on; each refusal leaves the target as it was.
TEST_F(FileContract, RefusalsKeepTheTargetAndSetWindowsErrorCodes) {
    for (const char* name : {"there.txt", "held.txt", "from.txt"}) MakeFile(name, name);
    MakeFile("ro.txt", "ro.txt", kReadOnly);
    HANDLE held = Open("held.txt", GENERIC_WRITE, OPEN_EXISTING);
    auto opens = [this](const char* name, DWORD access, DWORD disposition) {
        return [=, this] { return Open(name, access, disposition) != INVALID_HANDLE_VALUE; };
    };
    auto from = [this](auto call, const char* to, auto flag) {
        return [=, this] { return call(Path("from.txt").c_str(), Path(to).c_str(), flag); };
    };
    auto move = [](const char* from, const char* to, int) { return MoveFileA(from, to); };
    ExpectRefusals({
        {"read a missing file", opens("missing.txt", GENERIC_READ, OPEN_EXISTING), ERROR_FILE_NOT_FOUND},
        {"read a file held for writing", opens("held.txt", GENERIC_READ, OPEN_EXISTING), ERROR_SHARING_VIOLATION},
        {"make a file that exists", opens("there.txt", GENERIC_WRITE, CREATE_NEW), ERROR_FILE_EXISTS},
        {"delete a read-only file", [this] { return DeleteFileA(Path("ro.txt").c_str()); }, ERROR_ACCESS_DENIED},
        {"copy onto a file", from(CopyFileA, "there.txt", TRUE), ERROR_FILE_EXISTS},
        {"move onto a file", from(move, "there.txt", 0), ERROR_ALREADY_EXISTS},
        {"replace a read-only file", from(MoveFileExA, "ro.txt", kReplace), ERROR_ACCESS_DENIED,
         "MoveFileExA replaces a read-only file (Windows: ERROR_ACCESS_DENIED)"},
    });
    CloseHandle(held);
    EXPECT_EQ("there.txt", ReadAll("there.txt"));
    EXPECT_EQ(UnderWine() ? "from.txt" : "ro.txt", ReadAll("ro.txt"));
    // Left read-only, it would keep the scratch folder from going on Windows.
    SetFileAttributesA(Path("ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The one-step replace of the NT family and the renames and copy the 9x family goes by: content
// and attributes travel with the file, and a planted name that is a hard link goes, or is
// replaced, alone.
TEST_F(FileContract, ReplaceRenameAndCopyCarryContentAndAttributes) {
    MakeFile("BOOT.INI", "old\r\n", kHidden | kSystem);
    EXPECT_EQ(kHidden | kSystem | kArchive, Attributes("boot.ini")) << "names ignore case";
    MakeFile("boot.tmp", "new\r\n");
    EXPECT_TRUE(MoveFileExA(Path("boot.tmp").c_str(), Path("boot.ini").c_str(), kReplace)) << GetLastError();
    EXPECT_EQ(kArchive, Attributes("boot.ini")) << "the replacement brings its own attributes";

    const DWORD kXpBootFile = kReadOnly | kHidden | kSystem | kArchive;
    ASSERT_TRUE(SetFileAttributesA(Path("boot.ini").c_str(), kXpBootFile)) << GetLastError();
    MakeFile("boot.new", "newer", kHidden | kSystem);
    EXPECT_TRUE(MoveFileA(Path("boot.ini").c_str(), Path("boot.$$$").c_str())) << GetLastError();
    EXPECT_EQ(kXpBootFile, Attributes("boot.$$$")) << std::hex << Attributes("boot.$$$");
    EXPECT_TRUE(CopyFileA(Path("boot.new").c_str(), Path("boot.ini").c_str(), TRUE)) << GetLastError();
    EXPECT_TRUE(SetFileAttributesA(Path("boot.$$$").c_str(), FILE_ATTRIBUTE_NORMAL)) << GetLastError();
    for (const char* name : {"boot.$$$", "boot.new"}) EXPECT_TRUE(DeleteFileA(Path(name).c_str())) << name;

    MakeFile("other.txt", "other");
    // Other names of a file, made on the host as the product's tests plant them.
    for (const char* name : {"boot.bak", "boot.old"}) create_hard_link(host_ / "other.txt", host_ / name);
    MakeFile("fresh.txt", "fresh");
    EXPECT_TRUE(DeleteFileA(Path("boot.bak").c_str())) << GetLastError();
    EXPECT_TRUE(MoveFileExA(Path("fresh.txt").c_str(), Path("boot.old").c_str(), kReplace)) << GetLastError();
    EXPECT_EQ(kHidden | kSystem | kArchive, Attributes("boot.ini")) << "the copy brings its own attributes";
    const std::pair<const char*, const char*> after[] = {
        {"boot.ini", "newer"}, {"boot.$$$", "<missing>"}, {"boot.tmp", "<missing>"}, {"boot.new", "<missing>"},
        {"boot.bak", "<missing>"}, {"boot.old", "fresh"}, {"other.txt", "other"}};
    for (const auto& [name, content] : after) EXPECT_EQ(content, ReadAll(name)) << name;
}

constexpr FILETIME Ticks(ULONGLONG ticks) { return {DWORD(ticks), DWORD(ticks >> 32)}; }

// A time that a DOS date can't hold makes the product take the file for no file at all.
TEST_F(FileContract, FindReportsSizeAttributesAndATimeThatPacksIntoADosDate) {
    MakeFile("data.bin", std::string(1234, 'x'), kHidden);
    std::filesystem::create_directories(host_ / "dir");
    EXPECT_TRUE(Attributes("dir") & FILE_ATTRIBUTE_DIRECTORY) << std::hex << Attributes("dir");
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA(Path("DATA.BIN").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search) << "error " << GetLastError();
    EXPECT_EQ(1234u, found.nFileSizeLow);
    EXPECT_EQ(0u, found.nFileSizeHigh);
    EXPECT_EQ(kHidden | kArchive, found.dwFileAttributes);
    FILETIME local = {};
    WORD date = 0, time = 0;
    EXPECT_TRUE(FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time));
    EXPECT_GE(1980 + (date >> 9), 2020) << "a file written now has a recent last-write time";
    EXPECT_TRUE(FindClose(search));
    EXPECT_EQ(INVALID_HANDLE_VALUE, FindFirstFileA(Path("none.txt").c_str(), &found));

    const FILETIME before1980 = Ticks(119600063990000000ULL), after2107 = Ticks(159992928000000000ULL);
    ExpectRefusals({
        {"1979-12-31 23:59:59", [&] { return FileTimeToDosDateTime(&before1980, &date, &time); },
         ERROR_INVALID_PARAMETER},
        {"2108-01-01 00:00:00", [&] { return FileTimeToDosDateTime(&after2107, &date, &time); },
         ERROR_INVALID_PARAMETER, "FileTimeToDosDateTime accepts years after 2107"},
    });
}

}  // namespace
}  // namespace contract
