// winsim's file test API: drive mapping, fault injection, reported sizes, local time, the journal.
#include <fstream>
#include <string>

#include "platform/winsim/system/system_control.h"
#include "tests/winsim/winsim_fixture.h"

namespace winsim_test {
namespace {

using FilesControl = Winsim;

TEST_F(FilesControl, DrivesLeadToTheirHostFoldersAndUnmappedOnesNowhere) {
    Put("C:\\Boot.INI", "text");
    EXPECT_EQ(host_ / "c" / "Boot.INI", winsim::HostPath("c:/boot.ini"));
    std::ofstream(host_ / "d" / "planted.txt") << "x";
    EXPECT_EQ(DWORD{FILE_ATTRIBUTE_ARCHIVE}, GetFileAttributesA("d:\\PLANTED.TXT"));
    winsim::UnmapDrive('C');
    auto attributes = [] { return GetFileAttributesA("C:\\boot.ini") != INVALID_FILE_ATTRIBUTES; };
    ExpectRefusals({{"unmapped", attributes, ERROR_PATH_NOT_FOUND}});
}

TEST_F(FilesControl, TheNthCallFailsOnceAndADiskFullWriteWritesNothing) {
    HANDLE file = CreateFileA("C:\\a.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    winsim::FailCall("WriteFile", 2, ERROR_DISK_FULL);
    DWORD written = 0;
    auto write = [&] { return WriteFile(file, "abc", 3, &written, nullptr); };
    EXPECT_TRUE(write());
    ExpectRefusals({{"the second write", write, ERROR_DISK_FULL}});
    EXPECT_EQ(0u, written);
    EXPECT_TRUE(write()) << "only once";
    CloseHandle(file);
    EXPECT_EQ(6u, std::filesystem::file_size(host_ / "c" / "a.txt"));
}

TEST_F(FilesControl, ReportedSizeShowsUntilTheFileIsWrittenAndLocalTimeIsShifted) {
    Put("C:\\big.bin", "x");
    ASSERT_TRUE(winsim::SetReportedSize("c:\\BIG.bin", 0x100000005ULL));
    Put("C:\\big.bin", "abc");
    WIN32_FIND_DATAA found{};
    FindClose(FindFirstFileA("C:\\big.bin", &found));
    EXPECT_EQ(0u, found.nFileSizeHigh);
    EXPECT_EQ(3u, found.nFileSizeLow);

    winsim::SetLocalTimeOffset(-330);
    FILETIME utc{0, 0x01D00000}, local{};
    ASSERT_TRUE(FileTimeToLocalFileTime(&utc, &local));
    auto ticks = [](FILETIME t) { return LONGLONG{t.dwHighDateTime} << 32 | t.dwLowDateTime; };
    EXPECT_EQ(-330 * 600000000LL, ticks(local) - ticks(utc));
}

// Names of what an entry changed, "-" after the removed ones.
std::string Changed(const winsim::JournalEntry& entry) {
    std::string names;
    for (const auto& [key, file] : entry.changes->files) names += key + (file ? " " : "- ");
    return names;
}

TEST_F(FilesControl, JournalRecordsWhatEachChangeOnDriveCLeftAndTheDriveAfterIt) {
    Put("C:\\scratch.txt", "x");
    winsim::ClearFileJournal();
    Put("D:\\other.txt", "not on C");  // changes elsewhere than drive C: are not recorded
    Put("C:\\boot.ini", "old");
    ASSERT_TRUE(SetFileAttributesA("C:\\boot.ini", FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(DeleteFileA("C:\\missing.txt")) << "failed calls are not recorded";
    EXPECT_TRUE(CopyFileA("D:\\other.txt", "C:\\copy.txt", FALSE));
    EXPECT_TRUE(MoveFileExA("C:\\copy.txt", "C:\\boot.ini", MOVEFILE_REPLACE_EXISTING));
    std::filesystem::create_hard_link(host_ / "c" / "boot.ini", host_ / "c" / "link.ini");
    Put("C:\\link.ini", "through the link");

    const auto& journal = winsim::FileJournal();
    std::string calls;
    for (const auto& entry : journal) calls += entry.call + " ";
    ASSERT_EQ("CreateFileA WriteFile SetFileAttributesA CopyFileA MoveFileExA CreateFileA WriteFile ", calls);
    // Each entry holds only what its call changed: every name of a file with hard links.
    const std::pair<int, const char*> changed[] = {{0, "C:\\BOOT.INI "}, {3, "C:\\COPY.TXT "},
        {4, "C:\\BOOT.INI C:\\COPY.TXT- "}, {6, "C:\\BOOT.INI C:\\LINK.INI "}};
    for (auto [step, names] : changed) EXPECT_EQ(names, Changed(journal[step])) << journal[step].call;
    // The drive after each call, from the changes before it and the drive the first call found.
    EXPECT_EQ("old", journal[1].Find("c:\\BOOT.INI")->content);
    EXPECT_EQ(DWORD{FILE_ATTRIBUTE_HIDDEN}, journal[2].Find("C:\\boot.ini")->attributes);
    EXPECT_EQ(nullptr, journal[4].Find("C:\\copy.txt"));
    EXPECT_EQ("not on C", journal[4].Find("C:\\boot.ini")->content);
    EXPECT_EQ("x", journal[6].Find("C:\\scratch.txt")->content);
    std::string drive;
    for (const auto& [key, file] : journal[6].DriveC()) drive += file.path + "=" + file.content + " ";
    EXPECT_EQ("C:\\boot.ini=through the link C:\\link.ini=through the link C:\\scratch.txt=x ", drive);
}

}  // namespace
}  // namespace winsim_test
