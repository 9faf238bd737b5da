// FindFirstFileA, FindNextFileA, FindClose.
#include <set>

#include "tests/platform/contract_fixture.h"

namespace {

using contract::kSentinel;

class FindContract : public contract::FileContract {
 protected:
    // The names a search finds, in the order given; the entries "." and ".." that every folder but
    // a drive's root lists are left out.
    std::vector<std::string> Names(const std::string& pattern) {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found = {};
        HANDLE search = FindFirstFileA(Path(pattern).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..") names.push_back(name);
        } while (FindNextFileA(search, &found));
        EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_FILES), GetLastError());
        EXPECT_TRUE(FindClose(search));
        return names;
    }
};

TEST_F(FindContract, MatchesStarAndQuestionMarkInAnyCase) {
    MakeFile("boot.ini", "x");
    MakeFile("boot.old", "x");
    MakeFile("Winamp.EXE", "x");
    MakeFile("bootx.ini", "x");
    const struct {
        const char* pattern;
        std::set<std::string> names;
    } cases[] = {
        {"boot.*", {"boot.ini", "boot.old"}}, {"BOOT.INI", {"boot.ini"}}, {"boot?.ini", {"bootx.ini"}},
        {"*.exe", {"Winamp.EXE"}}, {"*", {"boot.ini", "boot.old", "bootx.ini", "Winamp.EXE"}},
        {"*.*", {"boot.ini", "boot.old", "bootx.ini", "Winamp.EXE"}}, {"????.ini", {"boot.ini"}},
    };
    for (const auto& c : cases) {
        auto names = Names(c.pattern);
        EXPECT_EQ(c.names, std::set<std::string>(names.begin(), names.end())) << c.pattern;
    }
}

TEST_F(FindContract, ReportsSizeAttributesAndTime) {
    MakeFile("data.bin", std::string(1234, 'x'), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA(Path("DATA.BIN").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search) << "error " << GetLastError();
    EXPECT_STREQ("data.bin", found.cFileName);
    EXPECT_EQ(1234u, found.nFileSizeLow);
    EXPECT_EQ(0u, found.nFileSizeHigh);
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE), found.dwFileAttributes);
    WORD date = 0, time = 0;
    EXPECT_TRUE(FileTimeToDosDateTime(&found.ftLastWriteTime, &date, &time));
    EXPECT_GE(1980 + (date >> 9), 2020) << "a file written now has a recent last-write time";
    EXPECT_TRUE(FindClose(search));
}

TEST_F(FindContract, FoldersListThemselvesAndTheirParent) {
    MakeFolder("sub");
    MakeFile("sub\\a.txt", "x");
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA(Path("sub\\*").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search);
    std::vector<std::string> names{found.cFileName};
    while (FindNextFileA(search, &found)) names.push_back(found.cFileName);
    FindClose(search);
    EXPECT_EQ((std::vector<std::string>{".", "..", "a.txt"}), names);
}

TEST_F(FindContract, NoMatchAndMissingFolderFail) {
    const struct {
        const char* pattern;
        DWORD error;
    } cases[] = {{"*.none", ERROR_FILE_NOT_FOUND}, {"missing.txt", ERROR_FILE_NOT_FOUND},
                 {"nofolder\\*", ERROR_PATH_NOT_FOUND}};
    for (const auto& c : cases) {
        WIN32_FIND_DATAA found = {};
        SetLastError(kSentinel);
        EXPECT_EQ(INVALID_HANDLE_VALUE, FindFirstFileA(Path(c.pattern).c_str(), &found)) << c.pattern;
        EXPECT_EQ(c.error, GetLastError()) << c.pattern;
    }
    SetLastError(kSentinel);
    EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
}

}  // namespace
