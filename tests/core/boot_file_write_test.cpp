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
    void SetUp() override {
        DriveC::SetUp();
        chooserState.Slot(3) = OsEntry{"C:\\", "\"Windows 98\""};
    }
    // boot.ini must hold the old or the new text, and the result say which.
    void ExpectWhole(bool named, const std::string& what) {
        const std::string content = Content("boot.ini");
        EXPECT_TRUE(content == kOld || content == kNew) << what << ": " << content;
        EXPECT_EQ(content == kNew, named) << what;
    }
};

TEST_F(BootFileWrite, RewritesEveryDefaultLineAndKeepsTheRestByteForByte) {
    const struct {
        const char* what;
        std::string before, after;
        bool namesKey;
    } cases[] = {
        {"two default lines, one bare", "default\r\nx=1\rDEFAULT=old\r\n",
         "default=C:\\\r\nx=1\r\nDEFAULT=C:\\\r\n", true},
        {"blanked keys", " default=a\r\ndefault =b\r\n", " default=a\r\ndefault =b\r\n", false},
        {"empty file", "", "\r\n", false},
    };
    for (const auto& c : cases) {
        Put("boot.ini", c.before);
        EXPECT_EQ(c.namesKey, WriteDefaultKey(3)) << c.what;
        EXPECT_EQ(c.after, Content("boot.ini")) << c.what;
        EXPECT_EQ("<missing>", Content("36528945648732")) << c.what;
    }
}

TEST_F(BootFileWrite, NeverWritesThroughAFilePlantedUnderTheTemporaryName) {
    Put("boot.ini", kOld);
    Put("victim.sys", "precious");
    std::filesystem::create_hard_link(host_ / "victim.sys", host_ / "36528945648732");
    EXPECT_TRUE(WriteDefaultKey(3));
    EXPECT_EQ("precious", Content("victim.sys"));
    EXPECT_EQ(kNew, Content("boot.ini"));
}

// XP ships boot.ini read-only, hidden and system. On the NT family it is replaced in one step:
// after every change on drive C: it holds the whole old or the whole new text, and in the end
// its attributes, with the backup replaced although it carried the same attributes.
TEST_F(BootFileWrite, ProtectedBootFileIsWholeAfterEveryStepOnTheNtFamily) {
    Put("boot.ini", kOld, kProtected);
    Put("boot.old", "older", kProtected);
    winsim::ClearFileJournal();
    EXPECT_TRUE(WriteDefaultKey(3));
    EXPECT_EQ(kNew, Content("boot.ini"));
    EXPECT_EQ(kOld, Content("boot.old"));
    EXPECT_EQ(kProtected, Attributes("boot.ini"));
    bool usedMoveEx = false;
    for (const auto& step : winsim::FileJournal()) {
        const auto* boot = step.Find("c:\\boot.ini");
        ASSERT_NE(nullptr, boot) << "after " << step.call;
        EXPECT_TRUE(boot->content == kOld || boot->content == kNew) << "after " << step.call;
        usedMoveEx = usedMoveEx || step.call == "MoveFileExA";
    }
    EXPECT_TRUE(usedMoveEx);
}

// 9x has no MoveFileExA: delete, then move; a move failing after the delete puts a whole file back.
TEST_F(BootFileWrite, The9xFamilyDeletesThenMovesAndRecoversAFailedMove) {
    winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    for (int faults : {0, 1, 2}) {
        const std::string what = std::to_string(faults) + " faults";
        Put("boot.ini", kOld, kProtected);
        winsim::ClearFileJournal();
        if (faults >= 1) winsim::FailCall("MoveFileA", 1, ERROR_GEN_FAILURE);
        if (faults >= 2) winsim::FailCall("CopyFileA", 2, ERROR_GEN_FAILURE);  // 1st: the backup
        const bool named = WriteDefaultKey(3);
        ExpectWhole(named, what);
        EXPECT_TRUE(named || faults > 0);
        winsim::ClearFaults();
        EXPECT_EQ(kProtected, Attributes("boot.ini")) << what;
        for (const auto& step : winsim::FileJournal()) EXPECT_NE("MoveFileExA", step.call) << what;
        SetFileAttributesA("C:\\boot.ini", FILE_ATTRIBUTE_NORMAL);
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
        {"WriteFile", 1, false},
        {"FlushFileBuffers", 1, false},
        {"CloseHandle", 1, true},          // the temporary file
        {"CloseHandle", 2, true},          // boot.ini
        {"SetFileAttributesA", 2, false},  // clearing boot.ini's read-only
        {"MoveFileExA", 1, false},
        {"SetFileAttributesA", 3, false, false},  // restoring boot.ini's attributes
    };
    for (const auto& c : cases) {
        const std::string what = std::string(c.function) + " #" + std::to_string(c.nth);
        Fresh();  // a raise may leave a handle open
        chooserState.Slot(3) = OsEntry{"C:\\", "\"Windows 98\""};
        Put("boot.ini", kOld, kProtected);
        Put("boot.old", "older", kReadOnly);
        winsim::FailCall(c.function, c.nth, ERROR_GEN_FAILURE);
        bool named = false;
        const std::string raised = testing::Raised([&] { named = WriteDefaultKey(3); });
        winsim::ClearFaults();
        EXPECT_EQ(c.raises ? "I/O error 31." : "", raised) << what;
        ExpectWhole(named, what);
        EXPECT_EQ(c.keepsReadOnly, (Attributes("boot.ini") & kReadOnly) != 0) << what;
    }
}

}  // namespace
}  // namespace mvorbel
