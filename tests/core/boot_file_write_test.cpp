#include <filesystem>

#include "core/boot_file.h"
#include "core/io_error.h"
#include "platform/winsim/system/system_control.h"
#include "tests/core/drive_c_fixture.h"

namespace mvorbel {
namespace {

constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY;
constexpr DWORD kHidden = FILE_ATTRIBUTE_HIDDEN;
constexpr DWORD kSystem = FILE_ATTRIBUTE_SYSTEM;
constexpr DWORD kArchive = FILE_ATTRIBUTE_ARCHIVE;

const std::string kOld =
    "[boot loader]\r\n"
    "timeout=30\r\n"
    "Default=multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS\r\n"
    "[operating systems]\r\n"
    "multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"Windows XP\" /fastdetect\r\n"
    "C:\\=\"Windows 98\"\r\n";
const std::string kNew =
    "[boot loader]\r\n"
    "timeout=30\r\n"
    "Default=C:\\\r\n"
    "[operating systems]\r\n"
    "multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"Windows XP\" /fastdetect\r\n"
    "C:\\=\"Windows 98\"\r\n";

class BootFileWrite : public testing::DriveC {
 protected:
    void SetUp() override {
        DriveC::SetUp();
        chooserState.Slot(3) = OsEntry{"C:\\", "\"Windows 98\""};
    }
    void Use9xFamily() { winsim::SetVersion(1 /* VER_PLATFORM_WIN32_WINDOWS */, 4, 10); }
};

TEST_F(BootFileWrite, RewritesEveryDefaultLineAndKeepsTheRestByteForByte) {
    const struct {
        const char* what;
        std::string before;
        std::string after;
        bool namesKey;
    } cases[] = {
        {"the loader's file", kOld, kNew, true},
        {"two default lines, one bare", "default\r\nx=1\rDEFAULT=old\r\n", "default=C:\\\r\nx=1\r\nDEFAULT=C:\\\r\n", true},
        {"blanked keys are not default lines", " default=a\r\ndefault =b\r\n", " default=a\r\ndefault =b\r\n", false},
        {"Ctrl-Z and what follows go", "default=a\r\nx\x1a" "rest\r\n", "default=C:\\\r\nx\r\n", true},
        {"LF-only file", "[boot loader]\ndefault=a\n", "[boot loader]\ndefault=a\n\r\n", false},
        {"empty file", "", "\r\n", false},
    };
    for (const auto& c : cases) {
        Put("boot.ini", c.before);
        EXPECT_EQ(c.namesKey, WriteDefaultKey(3)) << c.what;
        EXPECT_EQ(c.after, Content("boot.ini")) << c.what;
        EXPECT_EQ(c.before, Content("boot.old")) << c.what;
        EXPECT_FALSE(Exists("36528945648732")) << c.what;
    }
}

TEST_F(BootFileWrite, WithoutBackupNoCopyIsMadeOrTouched) {
    Put("boot.ini", kOld);
    chooserState.backup = false;
    EXPECT_TRUE(WriteDefaultKey(3));
    EXPECT_FALSE(Exists("boot.old"));
    Put("boot.old", "earlier");
    EXPECT_TRUE(WriteDefaultKey(3));
    EXPECT_EQ("earlier", Content("boot.old"));
}

// Mend b: XP ships boot.ini read-only, hidden and system; it is rewritten all the same and keeps
// its attributes.
TEST_F(BootFileWrite, KeepsAttributesAndRewritesReadOnlyFiles) {
    for (DWORD attributes : {kHidden | kSystem, kReadOnly | kHidden | kSystem | kArchive, kReadOnly}) {
        Put("boot.ini", kOld, attributes);
        EXPECT_TRUE(WriteDefaultKey(3)) << std::hex << attributes;
        EXPECT_EQ(kNew, Content("boot.ini")) << std::hex << attributes;
        EXPECT_EQ(attributes, Attributes("boot.ini")) << std::hex << attributes;
        SetFileAttributesA("C:\\boot.ini", FILE_ATTRIBUTE_NORMAL);
    }
}

// Mend c: an earlier backup with read-only, hidden or system attributes is replaced anyway.
TEST_F(BootFileWrite, BackupHoldsTheFileAsItWasJustBefore) {
    Put("boot.ini", kOld, kReadOnly | kHidden | kSystem);
    Put("boot.old", "a backup from long ago", kReadOnly | kHidden | kSystem);
    EXPECT_TRUE(WriteDefaultKey(3));
    EXPECT_EQ(kOld, Content("boot.old"));
    EXPECT_TRUE(WriteDefaultKey(1));
    EXPECT_EQ(kNew, Content("boot.old")) << "the second rewrite backs up the first one's result";
}

// Mend e: a hard link planted under the temporary name is not written through.
TEST_F(BootFileWrite, NeverWritesThroughAFilePlantedUnderTheTemporaryName) {
    Put("boot.ini", kOld);
    Put("victim.sys", "precious");
    std::filesystem::create_hard_link(host_ / "victim.sys", host_ / "36528945648732");
    EXPECT_TRUE(WriteDefaultKey(3));
    EXPECT_EQ("precious", Content("victim.sys"));
    EXPECT_EQ(kNew, Content("boot.ini"));
}

// Mend a: on the NT family boot.ini is replaced in one step; after every change on drive C:
// it holds the whole old or the whole new text.
TEST_F(BootFileWrite, BootFileIsWholeAfterEveryStepOnTheNtFamily) {
    Put("boot.ini", kOld, kReadOnly | kHidden | kSystem);
    Put("boot.old", "older", kHidden);
    winsim::ClearFileJournal();
    EXPECT_TRUE(WriteDefaultKey(3));
    const auto& journal = winsim::FileJournal();
    ASSERT_FALSE(journal.empty());
    bool sawNew = false;
    for (std::size_t step = 0; step < journal.size(); ++step) {
        const auto* boot = journal[step].Find("c:\\boot.ini");
        ASSERT_NE(nullptr, boot) << "boot.ini missing after step " << step << " " << journal[step].call;
        EXPECT_TRUE(boot->content == kOld || boot->content == kNew)
            << "after step " << step << " " << journal[step].call << ": " << boot->content;
        EXPECT_FALSE(sawNew && boot->content == kOld) << "went back after step " << step;
        sawNew = sawNew || boot->content == kNew;
    }
    EXPECT_EQ(kNew, journal.back().Find("c:\\boot.ini")->content);
    bool usedMoveEx = false;
    for (const auto& entry : journal) usedMoveEx = usedMoveEx || entry.call == "MoveFileExA";
    EXPECT_TRUE(usedMoveEx);
}

TEST_F(BootFileWrite, The9xFamilyDeletesThenMoves) {
    Use9xFamily();
    Put("boot.ini", kOld, kReadOnly | kHidden | kSystem);
    winsim::ClearFileJournal();
    EXPECT_TRUE(WriteDefaultKey(3));
    EXPECT_EQ(kNew, Content("boot.ini"));
    EXPECT_EQ(kReadOnly | kHidden | kSystem, Attributes("boot.ini"));
    std::vector<std::string> calls;
    for (const auto& entry : winsim::FileJournal()) {
        if (entry.call == "DeleteFileA" || entry.call.rfind("MoveFile", 0) == 0) calls.push_back(entry.call);
    }
    EXPECT_EQ((std::vector<std::string>{"DeleteFileA", "MoveFileA"}), calls);
}

// Mend a on 9x: a move failing after the delete must not leave the machine without boot.ini.
TEST_F(BootFileWrite, The9xFamilyPutsAWholeFileBackWhenTheMoveFails) {
    Use9xFamily();
    for (bool copyFailsToo : {false, true}) {
        Put("boot.ini", kOld, kHidden | kSystem);
        winsim::FailCall("MoveFileA", 1, ERROR_GEN_FAILURE);
        if (copyFailsToo) winsim::FailCall("CopyFileA", 2, ERROR_GEN_FAILURE);  // the first is the backup
        bool named = WriteDefaultKey(3);
        std::string content = Content("boot.ini");
        EXPECT_TRUE(content == kOld || content == kNew) << "copy fails too: " << copyFailsToo << ": " << content;
        EXPECT_EQ(content == kNew, named) << "copy fails too: " << copyFailsToo;
        EXPECT_EQ(kHidden | kSystem, Attributes("boot.ini")) << "copy fails too: " << copyFailsToo;
        winsim::ClearFaults();
    }
}

// Every file call of a rewrite failing in turn: boot.ini stays whole, only opening and closing
// raise, and the result is true exactly when the file names the chosen key.
TEST_F(BootFileWrite, EachFailingCallLeavesAWholeFileAndAnHonestResult) {
    const struct {
        const char* function;
        int nth;
        bool raises;
        bool keepsReadOnly = true;
    } cases[] = {
        {"GetFileAttributesA", 1, false},  // the backup's attributes
        {"SetFileAttributesA", 1, false},  // clearing the backup's read-only
        {"CopyFileA", 1, false},
        {"GetFileAttributesA", 2, false},  // boot.ini's attributes
        {"CreateFileA", 1, true},          // opening boot.ini
        {"DeleteFileA", 1, false},         // removing a planted temporary file
        {"CreateFileA", 2, true},          // creating the temporary file
        {"ReadFile", 1, false},
        {"ReadFile", 2, false},
        {"WriteFile", 1, false},
        {"WriteFile", 3, false},
        {"FlushFileBuffers", 1, false},
        {"CloseHandle", 1, true},  // the temporary file
        {"CloseHandle", 2, true},  // boot.ini
        {"SetFileAttributesA", 2, false},  // clearing boot.ini's read-only
        {"MoveFileExA", 1, false},
        {"SetFileAttributesA", 3, false, false},  // restoring boot.ini's attributes
    };
    for (const auto& c : cases) {
        std::string what = std::string(c.function) + " #" + std::to_string(c.nth);
        Put("boot.ini", kOld, kReadOnly | kHidden | kSystem);
        Put("boot.old", "older", kReadOnly);
        winsim::FailCall(c.function, c.nth, ERROR_GEN_FAILURE);
        bool raised = false;
        bool named = false;
        try {
            named = WriteDefaultKey(3);
        } catch (const InOutError& error) {
            raised = true;
            EXPECT_EQ(static_cast<DWORD>(ERROR_GEN_FAILURE), error.Code()) << what;
        }
        winsim::ClearFaults();
        std::string content = Content("boot.ini");
        EXPECT_EQ(c.raises, raised) << what;
        EXPECT_TRUE(content == kOld || content == kNew) << what << ": " << content;
        EXPECT_EQ(content == kNew, named) << what;
        EXPECT_EQ(c.keepsReadOnly, (Attributes("boot.ini") & kReadOnly) != 0) << what << ": read-only restored";
        // Leave the next case a clean drive, whatever this one left behind.
        for (const char* name : {"boot.ini", "boot.old", "36528945648732"}) {
            SetFileAttributesA((std::string("C:\\") + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            std::filesystem::remove(host_ / name);
        }
        winsim::Reset();
        winsim::MapDrive('C', host_);
    }
}

}  // namespace
}  // namespace mvorbel
