// winsim's file test API: drive mapping, fault injection, reported sizes and times, the journal.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/win32.h"
#include "platform/winsim/base/base_control.h"
#include "platform/winsim/files/files_control.h"

namespace {

constexpr DWORD kSentinel = 0xDEADBEEF;

class FilesControl : public ::testing::Test {
 protected:
    void SetUp() override {
        winsim::Reset();
        host_ = std::filesystem::temp_directory_path() /
                ("mvorbel-files-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(host_);
        std::filesystem::create_directories(host_ / "c");
        std::filesystem::create_directories(host_ / "d");
        winsim::MapDrive('c', host_ / "c");
        winsim::MapDrive('D', host_ / "d");
    }
    void TearDown() override {
        winsim::Reset();
        std::filesystem::remove_all(host_);
    }
    void Put(const char* path, const std::string& content) {
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << path << ": " << GetLastError();
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
        CloseHandle(file);
    }
    static WIN32_FIND_DATAA Find(const char* path) {
        WIN32_FIND_DATAA found{};
        HANDLE search = FindFirstFileA(path, &found);
        EXPECT_NE(INVALID_HANDLE_VALUE, search) << path;
        FindClose(search);
        return found;
    }
    std::filesystem::path host_;
};

TEST_F(FilesControl, DrivesLeadToTheirHostFoldersAndUnmappedOnesNowhere) {
    Put("C:\\Boot.INI", "text");
    std::string content;
    std::getline(std::ifstream(host_ / "c" / "Boot.INI"), content);
    EXPECT_EQ("text", content);
    EXPECT_EQ(host_ / "c" / "Boot.INI", winsim::HostPath("c:/boot.ini"));
    std::ofstream(host_ / "c" / "planted.txt") << "x";
    EXPECT_EQ(DWORD{FILE_ATTRIBUTE_ARCHIVE}, GetFileAttributesA("C:\\PLANTED.TXT")) << "files put on the host";
    winsim::UnmapDrive('c');
    SetLastError(kSentinel);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("C:\\boot.ini"));
    EXPECT_EQ(DWORD{ERROR_PATH_NOT_FOUND}, GetLastError());
}

TEST_F(FilesControl, TheNthCallFailsOnceAndADiskFullWriteWritesNothing) {
    HANDLE file = CreateFileA("C:\\a.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    winsim::FailCall("WriteFile", 2, ERROR_DISK_FULL);
    DWORD written = 0;
    for (bool succeeds : {true, false, true}) {
        SetLastError(kSentinel);
        EXPECT_EQ(succeeds, WriteFile(file, "abc", 3, &written, nullptr) != FALSE);
        if (!succeeds) {
            EXPECT_EQ(DWORD{ERROR_DISK_FULL}, GetLastError());
            EXPECT_EQ(0u, written);
        }
    }
    CloseHandle(file);
    EXPECT_EQ(6u, std::filesystem::file_size(host_ / "c" / "a.txt"));
}

TEST_F(FilesControl, ReportedSizeAndTimeShowUntilTheFileIsWritten) {
    Put("C:\\big.bin", "x");
    ASSERT_TRUE(winsim::SetReportedSize("c:\\BIG.bin", 0x100000005ULL));
    const FILETIME time{0x12345670, 0x01D00000};
    ASSERT_TRUE(winsim::SetLastWriteTime("C:\\big.bin", time));
    WIN32_FIND_DATAA found = Find("C:\\big.bin");
    EXPECT_EQ(1u, found.nFileSizeHigh);
    EXPECT_EQ(5u, found.nFileSizeLow);
    ASSERT_TRUE(CopyFileA("C:\\big.bin", "D:\\b.txt", FALSE));
    found = Find("D:\\b.txt");
    EXPECT_EQ(time.dwLowDateTime, found.ftLastWriteTime.dwLowDateTime) << "the time is copied along";
    EXPECT_EQ(time.dwHighDateTime, found.ftLastWriteTime.dwHighDateTime);
    Put("C:\\big.bin", "abc");
    found = Find("C:\\big.bin");
    EXPECT_EQ(0u, found.nFileSizeHigh);
    EXPECT_EQ(3u, found.nFileSizeLow);

    const ULONGLONG utc = 134410572000000000ULL;
    for (std::int32_t minutes : {0, 180, -330}) {
        winsim::SetLocalTimeOffset(minutes);
        FILETIME in{static_cast<DWORD>(utc), static_cast<DWORD>(utc >> 32)}, out{};
        ASSERT_TRUE(FileTimeToLocalFileTime(&in, &out));
        ULONGLONG got = (ULONGLONG{out.dwHighDateTime} << 32) | out.dwLowDateTime;
        EXPECT_EQ(minutes * 600000000LL, static_cast<LONGLONG>(got - utc)) << minutes;
    }
}

TEST_F(FilesControl, JournalRecordsChangesOnDriveCWithItsContentAfterEach) {
    Put("D:\\other.txt", "not on C");
    winsim::ClearFileJournal();
    Put("C:\\boot.ini", "old");
    ASSERT_TRUE(SetFileAttributesA("C:\\boot.ini", FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(DeleteFileA("C:\\missing.txt")) << "failed calls change nothing and are not recorded";
    EXPECT_TRUE(CopyFileA("D:\\other.txt", "C:\\copy.txt", FALSE));
    EXPECT_TRUE(MoveFileExA("C:\\copy.txt", "C:\\boot.ini", MOVEFILE_REPLACE_EXISTING));

    const auto& journal = winsim::FileJournal();
    std::vector<std::string> calls;
    for (const auto& entry : journal) calls.push_back(entry.call);
    EXPECT_EQ((std::vector<std::string>{"CreateFileA", "WriteFile", "SetFileAttributesA", "CopyFileA", "MoveFileExA"}),
              calls);
    ASSERT_EQ(5u, journal.size());
    EXPECT_EQ("", journal[0].Find("c:\\BOOT.INI")->content);
    EXPECT_EQ("old", journal[1].Find("c:\\boot.ini")->content);
    EXPECT_EQ(DWORD{FILE_ATTRIBUTE_HIDDEN}, journal[2].Find("C:\\boot.ini")->attributes);
    EXPECT_EQ("not on C", journal[3].Find("C:\\copy.txt")->content);
    EXPECT_EQ(nullptr, journal[4].Find("C:\\copy.txt"));
    EXPECT_EQ("not on C", journal[4].Find("C:\\boot.ini")->content);
    EXPECT_EQ((std::vector<std::string>{"C:\\copy.txt", "C:\\boot.ini", "0x1"}), journal[4].arguments);
}

TEST_F(FilesControl, ResetForgetsDrivesAttributesAndOpenFiles) {
    Put("C:\\a.txt", "x");
    ASSERT_TRUE(SetFileAttributesA("C:\\a.txt", FILE_ATTRIBUTE_READONLY));
    ASSERT_NE(INVALID_HANDLE_VALUE, CreateFileA("C:\\a.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    winsim::Reset();
    EXPECT_EQ(0u, winsim::OpenHandleCount());
    EXPECT_TRUE(winsim::FileJournal().empty());
    winsim::MapDrive('C', host_ / "c");
    EXPECT_EQ(DWORD{FILE_ATTRIBUTE_ARCHIVE}, GetFileAttributesA("C:\\a.txt"));
    EXPECT_TRUE(DeleteFileA("C:\\a.txt")) << "no handle of the last run keeps it open";
}

}  // namespace
