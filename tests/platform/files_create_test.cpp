// CreateFileA, ReadFile, WriteFile, FlushFileBuffers: dispositions, sharing and error codes.
#include "tests/platform/contract_fixture.h"

namespace {

using contract::kSentinel;

class CreateFileContract : public contract::FileContract {
 protected:
    HANDLE Open(const std::string& name, DWORD access, DWORD share, DWORD disposition,
                DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        return CreateFileA(Path(name).c_str(), access, share, nullptr, disposition, attributes, nullptr);
    }
};

struct OpenFailure {
    const char* what;
    const char* name;
    DWORD disposition;
    DWORD existingAttributes;  // 0: no file is made beforehand
    DWORD error;
    const char* wineDeviation;  // what Wine does instead, if it does not refuse
};

TEST_F(CreateFileContract, RefusesWithWindowsErrorCodes) {
    const OpenFailure cases[] = {
        {"OPEN_EXISTING on a missing file", "missing.txt", OPEN_EXISTING, 0, ERROR_FILE_NOT_FOUND, nullptr},
        {"OPEN_EXISTING in a missing folder", "nofolder\\x.txt", OPEN_EXISTING, 0, ERROR_PATH_NOT_FOUND, nullptr},
        {"CREATE_ALWAYS in a missing folder", "nofolder\\x.txt", CREATE_ALWAYS, 0, ERROR_PATH_NOT_FOUND, nullptr},
        {"CREATE_NEW on an existing file", "there.txt", CREATE_NEW, FILE_ATTRIBUTE_ARCHIVE, ERROR_FILE_EXISTS, nullptr},
        {"CREATE_ALWAYS on a hidden file", "hidden.txt", CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN, ERROR_ACCESS_DENIED,
         "CreateFileA CREATE_ALWAYS overwrites a hidden file (Windows: ERROR_ACCESS_DENIED)"},
        {"CREATE_ALWAYS on a system file", "system.txt", CREATE_ALWAYS, FILE_ATTRIBUTE_SYSTEM, ERROR_ACCESS_DENIED,
         "CreateFileA CREATE_ALWAYS overwrites a system file (Windows: ERROR_ACCESS_DENIED)"},
        // Wine keeps read-only as the owner's write bit, which a root user writes through.
        {"CREATE_ALWAYS on a read-only file", "ro.txt", CREATE_ALWAYS, FILE_ATTRIBUTE_READONLY, ERROR_ACCESS_DENIED,
         "CreateFileA CREATE_ALWAYS overwrites a read-only file when run as root (Windows: ERROR_ACCESS_DENIED)"},
        {"a name with an invalid character", "a|b.txt", CREATE_ALWAYS, 0, ERROR_INVALID_NAME, nullptr},
    };
    for (const auto& c : cases) {
        if (c.existingAttributes != 0) MakeFile(c.name, "old", c.existingAttributes);
        SetLastError(kSentinel);
        HANDLE file = Open(c.name, GENERIC_WRITE, 0, c.disposition);
        DWORD error = GetLastError();
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        if (c.wineDeviation != nullptr && contract::UnderWine() && file != INVALID_HANDLE_VALUE) {
            contract::NoteWineDeviation(c.wineDeviation);
            continue;
        }
        EXPECT_EQ(INVALID_HANDLE_VALUE, file) << c.what;
        EXPECT_EQ(c.error, error) << c.what;
        if (c.existingAttributes != 0) {
            EXPECT_EQ("old", ReadAll(c.name)) << c.what;
        }
    }
}

TEST_F(CreateFileContract, TellsWhenAnExistingFileWasOpened) {
    MakeFile("there.txt", "old");
    const struct {
        DWORD disposition;
        const char* name;
        DWORD error;
    } cases[] = {{CREATE_ALWAYS, "there.txt", ERROR_ALREADY_EXISTS}, {OPEN_ALWAYS, "there.txt", ERROR_ALREADY_EXISTS},
                 {CREATE_ALWAYS, "new1.txt", ERROR_SUCCESS}, {OPEN_ALWAYS, "new2.txt", ERROR_SUCCESS},
                 {CREATE_NEW, "new3.txt", ERROR_SUCCESS}};
    for (const auto& c : cases) {
        SetLastError(kSentinel);
        HANDLE file = Open(c.name, GENERIC_WRITE, 0, c.disposition);
        EXPECT_NE(INVALID_HANDLE_VALUE, file) << c.name << " " << c.disposition;
        EXPECT_EQ(c.error, GetLastError()) << c.name << " " << c.disposition;
        CloseHandle(file);
    }
    EXPECT_EQ("", ReadAll("there.txt")) << "CREATE_ALWAYS empties the file";
}

TEST_F(CreateFileContract, NewFilesCarryTheArchiveAttribute) {
    MakeFile("new.txt", "x");
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE), GetFileAttributesA(Path("new.txt").c_str()));
}

TEST_F(CreateFileContract, NamesAreCaseInsensitiveAndTakeEitherSlash) {
    MakeFile("Mixed.TXT", "content");
    EXPECT_EQ("content", ReadAll("mIXED.txt"));
    MakeFolder("Sub");
    MakeFile("sub\\inner.txt", "inner");
    HANDLE file = Open("SUB/Inner.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    EXPECT_NE(INVALID_HANDLE_VALUE, file) << "error " << GetLastError();
    CloseHandle(file);
}

TEST_F(CreateFileContract, SharingModesAreEnforced) {
    MakeFile("shared.txt", "x");
    const struct {
        const char* what;
        DWORD firstAccess, firstShare, secondAccess, secondShare;
        bool secondOpens;
    } cases[] = {
        {"two readers sharing read", GENERIC_READ, FILE_SHARE_READ, GENERIC_READ, FILE_SHARE_READ, true},
        {"a writer while a reader shares read only", GENERIC_READ, FILE_SHARE_READ, GENERIC_WRITE, FILE_SHARE_READ, false},
        {"a reader that does not share with a reader", GENERIC_READ, FILE_SHARE_READ, GENERIC_READ, 0, false},
        {"a reader while a writer shares read", GENERIC_WRITE, FILE_SHARE_READ, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, true},
        {"a reader while a writer shares nothing", GENERIC_WRITE, 0, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, false},
    };
    for (const auto& c : cases) {
        HANDLE first = Open("shared.txt", c.firstAccess, c.firstShare, OPEN_EXISTING);
        ASSERT_NE(INVALID_HANDLE_VALUE, first) << c.what;
        SetLastError(kSentinel);
        HANDLE second = Open("shared.txt", c.secondAccess, c.secondShare, OPEN_EXISTING);
        DWORD error = GetLastError();
        EXPECT_EQ(c.secondOpens, second != INVALID_HANDLE_VALUE) << c.what;
        if (!c.secondOpens) {
            EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), error) << c.what;
        }
        if (second != INVALID_HANDLE_VALUE) CloseHandle(second);
        CloseHandle(first);
    }
    HANDLE again = Open("shared.txt", GENERIC_WRITE, 0, OPEN_EXISTING);
    EXPECT_NE(INVALID_HANDLE_VALUE, again) << "closing ends the sharing restrictions";
    CloseHandle(again);
}

TEST_F(CreateFileContract, ReadsAndWritesInOrderAndReadsZeroBytesAtTheEnd) {
    HANDLE file = Open("data.bin", GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "abc", 3, &written, nullptr));
    EXPECT_TRUE(WriteFile(file, "\r\n\x1a", 3, &written, nullptr));
    EXPECT_EQ(3u, written);
    EXPECT_TRUE(FlushFileBuffers(file));
    char buffer[8];
    DWORD got = 99;
    SetLastError(kSentinel);
    EXPECT_FALSE(ReadFile(file, buffer, sizeof buffer, &got, nullptr)) << "a write-only handle can't read";
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    CloseHandle(file);

    file = Open("data.bin", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    EXPECT_TRUE(ReadFile(file, buffer, 4, &got, nullptr));
    EXPECT_EQ("abc\r", std::string(buffer, got));
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &got, nullptr));
    EXPECT_EQ("\n\x1a", std::string(buffer, got));
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &got, nullptr));
    EXPECT_EQ(0u, got) << "the end of the file reads as success with nothing";
    SetLastError(kSentinel);
    EXPECT_FALSE(WriteFile(file, "x", 1, &written, nullptr)) << "a read-only handle can't write";
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    CloseHandle(file);
}

TEST_F(CreateFileContract, ClosedHandlesAreInvalid) {
    HANDLE file = Open("x.txt", GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_TRUE(CloseHandle(file));
    DWORD written = 0;
    SetLastError(kSentinel);
    EXPECT_FALSE(WriteFile(file, "x", 1, &written, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    SetLastError(kSentinel);
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
}

}  // namespace
