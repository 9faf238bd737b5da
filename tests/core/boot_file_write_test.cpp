#include <filesystem>

#include "core/boot_file.h"
#include "platform/winsim/system/system_control.h"
#include "tests/core/drive_c_fixture.h"

namespace mvorbel {
namespace {

constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY;
constexpr DWORD kProtected = kReadOnly | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::string BootIni(const std::string& key) {
    return "[boot loader]\r\ntimeout=30\r\nDefault=" + key + "\r\n[operating systems]\r\n" +
           "multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"Windows XP\" /fastdetect\r\n" +
           "C:\\=\"Windows 98\"\r\n";
}
const std::string kOld = BootIni("multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS");
const std::string kNew = BootIni("C:\\");

class BootFileWrite : public testing::DriveC {
 protected:
    // A new run whose choice is C:\ in slot 3, boot.ini holding the old text.
    void Arrange(DWORD bootAttributes = 0) {
        Fresh();
        chooserState.Slot(3) = OsEntry{"C:\\", "\"Windows 98\""};
        Put("boot.ini", kOld, bootAttributes);
    }
    // boot.ini must hold the old or the new text, and the result say which.
    void ExpectWhole(bool named, const std::string& what) {
        const std::string content = Content("boot.ini");
        EXPECT_TRUE(content == kOld || content == kNew) << what << ": " << content;
        EXPECT_EQ(content == kNew, named) << what;
    }
};

// The rewrite reaches the disk through the temporary file, which never stays behind.
TEST_F(BootFileWrite, WritesTheRewrittenBytesAndLeavesNoTemporaryFile) {
    Arrange();
    Put("boot.ini", "a=1\r\nDefault=b\ntimeout=3\r\n\x1Atail");
    EXPECT_FALSE(WriteDefaultKey(3)) << "the value read back runs on past the line feed";
    EXPECT_EQ("a=1\r\nDefault=C:\\\ntimeout=3\r\n\x1Atail", Content("boot.ini"));
    for (const char* leftover : {"36528945648732", "36528945648733", "36528945648734", "36528945648735"}) {
        EXPECT_EQ("<missing>", Content(leftover)) << leftover;
    }
}

// A folder named c:\boot.old is no backup to replace: it stays, and nothing else does.
TEST_F(BootFileWrite, AFolderNamedLikeTheBackupStaysAndTheRewriteGoesOn) {
    for (const DWORD platform : {VER_PLATFORM_WIN32_NT, VER_PLATFORM_WIN32_WINDOWS}) {
        Arrange();
        winsim::SetVersion(platform, 4, 10);
        std::filesystem::create_directories(host_ / "boot.old" / "inside");
        EXPECT_TRUE(WriteDefaultKey(3)) << platform;
        EXPECT_EQ(kNew, Content("boot.ini")) << platform;
        EXPECT_TRUE(std::filesystem::is_directory(host_ / "boot.old" / "inside")) << platform;
        EXPECT_EQ(2, std::distance(std::filesystem::directory_iterator(host_), {})) << platform << ": only boot.ini and the folder";
    }
}

// Files planted under the names the rewrite writes to (hard links to a protected file, say) are
// replaced as names, never written through, and the file they name keeps its bytes and its
// attributes. A read-only c:\boot.old can't be replaced on the NT family: the backup is skipped.
// A read-only file under the temporary name can't be deleted, so the temporary file can't be
// made: the program ends in the error box with boot.ini as it was.
TEST_F(BootFileWrite, NeverWritesThroughAPlantedFile) {
    for (const char* planted : {"36528945648732", "36528945648734", "boot.old"}) {
        for (const DWORD victimAttributes : {DWORD{FILE_ATTRIBUTE_SYSTEM}, kProtected}) {
            const std::string what = planted + std::string(" to a file of attributes ") + std::to_string(victimAttributes);
            Arrange();
            Put("victim.sys", "precious", victimAttributes);
            std::filesystem::create_hard_link(host_ / "victim.sys", host_ / planted);
            const bool readOnly = victimAttributes == kProtected;
            const bool blocksTheRewrite = readOnly && planted == std::string("36528945648732");
            bool named = false;
            EXPECT_EQ(blocksTheRewrite ? "I/O error 80." : "", testing::Raised([&] { named = WriteDefaultKey(3); }))
                << what;
            EXPECT_EQ(!blocksTheRewrite, named) << what;
            EXPECT_EQ("precious", Content("victim.sys")) << what;
            EXPECT_EQ(victimAttributes, Attributes("victim.sys")) << what;
            if (blocksTheRewrite) continue;
            EXPECT_EQ(kNew, Content("boot.ini")) << what;
            // Nor can the backup's fresh copy be made; either way the backup is skipped.
            const std::string backup = !readOnly                              ? kOld
                                       : planted == std::string("boot.old") ? "precious"
                                                                            : "<missing>";
            EXPECT_EQ(backup, Content("boot.old")) << what;
        }
    }
}

// XP ships boot.ini read-only, hidden and system. On the NT family it is replaced in one step:
// after every change on drive C: it holds the whole old or the whole new text, and in the end
// its attributes. The backup keeps hidden and system but not read-only, so that the next one can
// replace it; a read-only backup (an older version made them) can't be replaced and stays.
TEST_F(BootFileWrite, ProtectedBootFileIsWholeAfterEveryStepOnTheNtFamily) {
    const DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (const DWORD oldBackup : {kHiddenSystem, kProtected}) {
        Arrange(kProtected);
        Put("boot.old", "older", oldBackup);
        winsim::ClearFileJournal();
        EXPECT_TRUE(WriteDefaultKey(3));
        EXPECT_EQ(kNew, Content("boot.ini"));
        EXPECT_EQ(kProtected, Attributes("boot.ini"));
        EXPECT_EQ(oldBackup == kProtected ? "older" : kOld, Content("boot.old"));
        EXPECT_EQ(oldBackup == kProtected ? kProtected : kHiddenSystem, Attributes("boot.old") & ~FILE_ATTRIBUTE_ARCHIVE);
        bool usedMoveEx = false;
        for (const auto& step : winsim::FileJournal()) {
            const auto* boot = step.Find("c:\\boot.ini");
            ASSERT_NE(nullptr, boot) << "after " << step.call;
            EXPECT_TRUE(boot->content == kOld || boot->content == kNew) << "after " << step.call;
            const auto* backup = step.Find("c:\\boot.old");
            ASSERT_NE(nullptr, backup) << "after " << step.call;
            EXPECT_TRUE(backup->content == "older" || backup->content == kOld) << "after " << step.call;
            usedMoveEx = usedMoveEx || step.call == "MoveFileExA";
        }
        EXPECT_TRUE(usedMoveEx);
    }
}

// The 9x family has no MoveFileExA: boot.ini is renamed aside, the new one takes its name, the
// old one goes last. With any one or two of those calls failing, at every step the old or the
// new text is whole under boot.ini or a name beside it, and in the end boot.ini holds one of
// them with its attributes, the result saying which.
TEST_F(BootFileWrite, The9xFamilyKeepsAWholeFileThroughEveryOneOrTwoFailures) {
    const std::pair<const char*, int> calls[] = {
        {"MoveFileA", 1}, {"MoveFileA", 2}, {"MoveFileA", 3}, {"MoveFileA", 4}, {"MoveFileA", 5},
        {"CopyFileA", 1}, {"CopyFileA", 2}, {"DeleteFileA", 1}, {"DeleteFileA", 2}, {"DeleteFileA", 3},
        {"DeleteFileA", 4}, {"DeleteFileA", 5}, {"SetFileAttributesA", 1}, {"SetFileAttributesA", 2},
        {"SetFileAttributesA", 3}, {"SetFileAttributesA", 4}, {"GetFileAttributesA", 2},
        {"GetFileAttributesA", 3}, {"GetFileAttributesA", 4}, {"GetFileAttributesA", 5},
    };
    const auto whole = [](const winsim::JournalEntry& step) {
        for (const char* name : {"c:\\boot.ini", "c:\\36528945648733", "c:\\36528945648732"}) {
            const auto* file = step.Find(name);
            if (file != nullptr && (file->content == kOld || file->content == kNew)) return true;
        }
        return false;
    };
    const std::size_t count = std::size(calls);
    for (std::size_t first = 0; first <= count; ++first) {
        for (std::size_t second = first; second <= count; ++second) {
            std::string what = "no failure";
            Arrange(kProtected);
            winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
            Put("boot.old", "older", kProtected);
            winsim::ClearFileJournal();
            for (std::size_t i : {first, second}) {
                if (i == count || (i == second && second == first)) continue;
                winsim::FailCall(calls[i].first, calls[i].second, ERROR_GEN_FAILURE);
                what = (what == "no failure" ? "" : what + ", ") + calls[i].first + " #" + std::to_string(calls[i].second);
            }
            const bool named = WriteDefaultKey(3);
            winsim::ClearFaults();
            ExpectWhole(named, what);
            for (const auto& step : winsim::FileJournal()) {
                EXPECT_TRUE(whole(step)) << what << ", after " << step.call;
                EXPECT_NE("MoveFileExA", step.call) << what;
                const auto* backup = step.Find("c:\\boot.old");
                EXPECT_TRUE(backup == nullptr || backup->content == "older" || backup->content == kOld)
                    << what << ", after " << step.call;
            }
            if (what == "no failure") {
                EXPECT_TRUE(named);
                EXPECT_EQ(kProtected, Attributes("boot.ini"));
                EXPECT_EQ(kOld, Content("boot.old")) << "a read-only backup is replaced where there are no links";
                EXPECT_EQ("<missing>", Content("36528945648733"));
            }
        }
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
        {"GetFileAttributesA", 1, false},  // boot.ini's attributes
        {"CreateFileA", 1, true},          // opening boot.ini
        {"ReadFile", 1, false},
        {"DeleteFileA", 1, false},         // removing a planted temporary file
        {"CreateFileA", 2, true},          // creating the temporary file
        {"WriteFile", 1, false},
        {"FlushFileBuffers", 1, false},
        {"CloseHandle", 1, true},          // the temporary file
        {"CloseHandle", 2, true},          // boot.ini
        {"CreateFileA", 3, false},         // the backup's fresh copy
        {"WriteFile", 2, false},
        {"MoveFileExA", 1, false},         // the backup taking its name
        {"SetFileAttributesA", 1, false},  // clearing boot.ini's read-only
        {"MoveFileExA", 2, false},
        {"SetFileAttributesA", 2, false, false},  // restoring boot.ini's attributes
        // A platform that can't tell its family still replaces in one step where it can.
        {"GetVersionExA", 1, false},
        {"GetVersionExA", 2, false},
    };
    for (const auto& c : cases) {
        const std::string what = std::string(c.function) + " #" + std::to_string(c.nth);
        Arrange(kProtected);
        Put("boot.old", "older");
        winsim::ClearFileJournal();
        winsim::FailCall(c.function, c.nth, ERROR_GEN_FAILURE);
        bool named = false;
        const std::string raised = testing::Raised([&] { named = WriteDefaultKey(3); });
        winsim::ClearFaults();
        for (const auto& step : winsim::FileJournal()) {
            const auto* boot = step.Find("c:\\boot.ini");
            EXPECT_TRUE(boot != nullptr && (boot->content == kOld || boot->content == kNew)) << what << ", after " << step.call;
        }
        EXPECT_EQ(c.raises ? "I/O error 31." : "", raised) << what;
        ExpectWhole(named, what);
        EXPECT_EQ(c.keepsReadOnly, (Attributes("boot.ini") & kReadOnly) != 0) << what;
        const std::string backup = Content("boot.old");
        EXPECT_TRUE(backup == "older" || backup == kOld) << what << ": " << backup;
        if (raised.empty()) {
            EXPECT_EQ("<missing>", Content("36528945648732")) << what;
        }
    }
}

}  // namespace
}  // namespace mvorbel
