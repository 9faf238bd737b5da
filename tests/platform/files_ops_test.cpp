// Attributes, DeleteFileA, CopyFileA, MoveFileA and MoveFileExA.
#include "tests/platform/contract_fixture.h"

namespace {

using contract::kSentinel;
constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY;
constexpr DWORD kHidden = FILE_ATTRIBUTE_HIDDEN;
constexpr DWORD kSystem = FILE_ATTRIBUTE_SYSTEM;
constexpr DWORD kArchive = FILE_ATTRIBUTE_ARCHIVE;

class FileOpsContract : public contract::FileContract {
 protected:
    DWORD Attributes(const std::string& name) { return GetFileAttributesA(Path(name).c_str()); }
};

TEST_F(FileOpsContract, AttributesAreKeptPerFile) {
    const DWORD cases[] = {kReadOnly, kHidden, kSystem, kHidden | kSystem, kReadOnly | kHidden | kSystem | kArchive};
    // Wine reports every file as an archive, whatever was set.
    const DWORD wineAdds = contract::UnderWine() ? kArchive : 0;
    if (wineAdds != 0) contract::NoteWineDeviation("GetFileAttributesA reports ARCHIVE on every file");
    for (DWORD attributes : cases) {
        MakeFile("a.txt", "x");
        ASSERT_TRUE(SetFileAttributesA(Path("a.txt").c_str(), attributes));
        EXPECT_EQ(attributes | wineAdds, Attributes("a.txt")) << std::hex << attributes;
        ASSERT_TRUE(SetFileAttributesA(Path("a.txt").c_str(), FILE_ATTRIBUTE_NORMAL));
    }
    EXPECT_EQ(wineAdds != 0 ? kArchive : static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL), Attributes("a.txt"))
        << "no attribute reads as normal";
    MakeFolder("dir");
    EXPECT_TRUE(Attributes("dir") & FILE_ATTRIBUTE_DIRECTORY) << std::hex << Attributes("dir");
}

TEST_F(FileOpsContract, MissingFilesAndFoldersHaveNoAttributes) {
    const struct {
        const char* name;
        DWORD error;
    } cases[] = {{"missing.txt", ERROR_FILE_NOT_FOUND}, {"nofolder\\x.txt", ERROR_PATH_NOT_FOUND}};
    for (const auto& c : cases) {
        SetLastError(kSentinel);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes(c.name)) << c.name;
        EXPECT_EQ(c.error, GetLastError()) << c.name;
        SetLastError(kSentinel);
        EXPECT_FALSE(SetFileAttributesA(Path(c.name).c_str(), kHidden)) << c.name;
        EXPECT_EQ(c.error, GetLastError()) << c.name;
    }
}

TEST_F(FileOpsContract, DeleteRefusesReadOnlyMissingAndOpenFiles) {
    MakeFile("ro.txt", "x", kReadOnly);
    MakeFile("open.txt", "x");
    MakeFile("hidden.txt", "x", kHidden | kSystem);
    HANDLE open = CreateFileA(Path("open.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    const struct {
        const char* name;
        DWORD error;
    } cases[] = {{"ro.txt", ERROR_ACCESS_DENIED}, {"missing.txt", ERROR_FILE_NOT_FOUND},
                 {"nofolder\\x.txt", ERROR_PATH_NOT_FOUND}, {"open.txt", ERROR_SHARING_VIOLATION}};
    for (const auto& c : cases) {
        SetLastError(kSentinel);
        EXPECT_FALSE(DeleteFileA(Path(c.name).c_str())) << c.name;
        EXPECT_EQ(c.error, GetLastError()) << c.name;
    }
    CloseHandle(open);
    EXPECT_TRUE(DeleteFileA(Path("open.txt").c_str()));
    EXPECT_TRUE(DeleteFileA(Path("hidden.txt").c_str())) << "hidden and system don't protect a file";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes("hidden.txt"));
}

TEST_F(FileOpsContract, CopyTakesContentAndAttributes) {
    MakeFile("from.txt", "content", kHidden | kSystem | kArchive);
    EXPECT_TRUE(CopyFileA(Path("from.txt").c_str(), Path("to.txt").c_str(), TRUE));
    EXPECT_EQ("content", ReadAll("to.txt"));
    EXPECT_EQ(kHidden | kSystem | kArchive, Attributes("to.txt"));

    MakeFile("plain.txt", "new");
    MakeFile("old.txt", "old");
    SetLastError(kSentinel);
    EXPECT_FALSE(CopyFileA(Path("plain.txt").c_str(), Path("old.txt").c_str(), TRUE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_EXISTS), GetLastError());
    EXPECT_TRUE(CopyFileA(Path("plain.txt").c_str(), Path("old.txt").c_str(), FALSE));
    EXPECT_EQ("new", ReadAll("old.txt"));

    SetLastError(kSentinel);
    EXPECT_FALSE(CopyFileA(Path("missing.txt").c_str(), Path("x.txt").c_str(), FALSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
}

TEST_F(FileOpsContract, CopyRefusesReadOnlyAndHiddenTargets) {
    MakeFile("from.txt", "new");
    for (DWORD attributes : {kReadOnly, kHidden, kHidden | kSystem}) {
        MakeFile("target.txt", "old", attributes);
        SetLastError(kSentinel);
        BOOL copied = CopyFileA(Path("from.txt").c_str(), Path("target.txt").c_str(), FALSE);
        DWORD error = GetLastError();
        if (contract::UnderWine()) {
            contract::NoteWineDeviation("CopyFileA onto a read-only or hidden file succeeds (Windows: ERROR_ACCESS_DENIED)");
            EXPECT_TRUE(copied) << std::hex << attributes;
        } else {
            EXPECT_FALSE(copied) << std::hex << attributes;
            EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), error) << std::hex << attributes;
            EXPECT_EQ("old", ReadAll("target.txt")) << std::hex << attributes;
        }
        SetFileAttributesA(Path("target.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(Path("target.txt").c_str());
    }
}

TEST_F(FileOpsContract, MoveRefusesAnExistingTargetAndKeepsAttributes) {
    MakeFile("from.txt", "content", kHidden | kArchive);
    MakeFile("there.txt", "old");
    SetLastError(kSentinel);
    EXPECT_FALSE(MoveFileA(Path("from.txt").c_str(), Path("there.txt").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
    SetLastError(kSentinel);
    EXPECT_FALSE(MoveFileExA(Path("from.txt").c_str(), Path("there.txt").c_str(), 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
    SetLastError(kSentinel);
    EXPECT_FALSE(MoveFileA(Path("missing.txt").c_str(), Path("x.txt").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());

    EXPECT_TRUE(MoveFileA(Path("from.txt").c_str(), Path("moved.txt").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes("from.txt"));
    EXPECT_EQ("content", ReadAll("moved.txt"));
    EXPECT_EQ(kHidden | kArchive, Attributes("moved.txt"));
}

TEST_F(FileOpsContract, MoveExReplacesAnExistingFileInOneStep) {
    MakeFile("new.tmp", "new text");
    MakeFile("boot.ini", "old text", kHidden | kSystem);
    EXPECT_TRUE(MoveFileExA(Path("new.tmp").c_str(), Path("boot.ini").c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        << "error " << GetLastError();
    EXPECT_EQ("new text", ReadAll("boot.ini"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes("new.tmp"));
    EXPECT_EQ(kArchive, Attributes("boot.ini")) << "the replacement brings its own attributes";
}

TEST_F(FileOpsContract, MoveExRefusesToReplaceAReadOnlyFile) {
    MakeFile("new.tmp", "new text");
    MakeFile("boot.ini", "old text", kReadOnly | kHidden | kSystem);
    SetLastError(kSentinel);
    BOOL moved = MoveFileExA(Path("new.tmp").c_str(), Path("boot.ini").c_str(), MOVEFILE_REPLACE_EXISTING);
    DWORD error = GetLastError();
    if (contract::UnderWine()) {
        contract::NoteWineDeviation("MoveFileExA replaces a read-only file (Windows: ERROR_ACCESS_DENIED)");
        EXPECT_TRUE(moved);
    } else {
        EXPECT_FALSE(moved);
        EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), error);
        EXPECT_EQ("old text", ReadAll("boot.ini"));
        EXPECT_EQ("new text", ReadAll("new.tmp"));
    }
}

}  // namespace
