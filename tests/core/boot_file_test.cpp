#include <filesystem>

#include "core/boot_file.h"
#include "platform/winsim/system/system_control.h"
#include "tests/core/drive_c_fixture.h"

namespace mvorbel {
namespace {

constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY;
constexpr DWORD kHiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
constexpr DWORD kProtected = kReadOnly | kHiddenSystem;
// The rewritten text, boot.ini aside, the fresh backup, boot.old aside.
const char* const kFixedNames[] = {"36528945648732", "36528945648733", "36528945648734", "36528945648735"};

// The choice, C:\ in slot 3, shares its path with the first entry: it moves up before it.
std::string BootIni(const std::string& key, bool moved) {
    const std::string first = "C:\\=\"Microsoft Windows\"\r\n", chosen = "C:\\=\"Windows 98\"\r\n";
    const std::string xp = "multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"Windows XP\" /fastdetect\r\n";
    return "[boot loader]\r\ntimeout=30\r\nDefault=" + key + "\r\n[operating systems]\r\n" +
           (moved ? chosen + first + xp : first + xp + chosen);
}
const std::string kOld = BootIni("multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS", false);
const std::string kNew = BootIni("C:\\", true);

struct Fault {
    const char* function;
    int nth;
};

class BootFile : public testing::DriveC {
 protected:
    // A new run whose choice is C:\ in slot 3, boot.ini holding the old text.
    void Arrange(DWORD bootAttributes = 0) {
        Fresh();
        chooserState.Slot(3) = OsEntry{"C:\\", "\"Windows 98\""};
        Put("boot.ini", kOld, bootAttributes);
    }
    // Rewrites XP's read-only, hidden and system boot.ini beside an older backup, the calls given
    // failing once each, and gives what was raised. After every change on drive C: the old or the
    // new text is whole under boot.ini (on the 9x family, which renames, or under a name beside
    // it) and the backup is the older one or the old text; in the end boot.ini holds one of them,
    // and the result says which.
    std::string Rewrite(bool win9x, DWORD backupAttributes, const std::vector<Fault>& faults, const std::string& what) {
        Arrange(kProtected);
        if (win9x) winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
        Put("boot.old", "older", backupAttributes);
        winsim::ClearFileJournal();
        for (const Fault& fault : faults) winsim::FailCall(fault.function, fault.nth, ERROR_GEN_FAILURE);
        bool named = false;
        const std::string raised = testing::Raised([&] { named = WriteDefaultKey(3); });
        winsim::ClearFaults();
        const auto whole = [](const winsim::FileSnapshot* file) {
            return file != nullptr && (file->content == kOld || file->content == kNew);
        };
        for (const auto& step : winsim::FileJournal()) {
            const bool aside = win9x && (whole(step.Find(kBootAsidePath)) || whole(step.Find(kTemporaryFilePath)));
            EXPECT_TRUE(whole(step.Find("c:\\boot.ini")) || aside) << what << ", after " << step.call;
            const auto* backup = step.Find("c:\\boot.old");
            EXPECT_TRUE(backup == nullptr ? win9x : backup->content == "older" || backup->content == kOld)
                << what << ", after " << step.call;
        }
        const std::string content = Content("boot.ini");
        EXPECT_TRUE(content == kOld || content == kNew) << what << ": " << content;
        EXPECT_EQ(content == kNew, named) << what;
        const std::string backup = Content("boot.old");
        EXPECT_TRUE(backup == "older" || backup == kOld) << what << ": " << backup;
        for (const char* name : kFixedNames) {
            EXPECT_TRUE(!raised.empty() || Content(name) == "<missing>") << what << ": " << name << " left behind";
        }
        return raised;
    }
};

TEST_F(BootFile, ReadErrorsRaiseFromTheEntriesButEndTheDefaultScanQuietly) {
    Put("boot.ini", "default=a\r\n[operating systems]\r\na=1\r\n");
    winsim::FailCall("ReadFile", 1, ERROR_READ_FAULT);
    EXPECT_EQ("I/O error 30.", testing::Raised(ReadOsEntries));
    winsim::FailCall("ReadFile", 1, ERROR_READ_FAULT);
    EXPECT_EQ("", ReadDefaultKey());
    winsim::FailCall("CloseHandle", 1, ERROR_INVALID_HANDLE);
    EXPECT_EQ("I/O error 6.", testing::Raised(ReadDefaultKey)) << "a failed close raises";
}

// The rewrite changes the default lines' values and nothing else, but for the chosen entry's line:
// when an entry with its key comes before it in the section, it moves up to just before the first
// such line, which is the one the loader starts. The result says whether the file read again starts
// the slot's line: its default names the key up to a line feed, where the loader ends the value.
TEST_F(BootFile, WritesTheRewrittenBytes) {
    const struct {
        const char* what;
        std::string old;
        int slot;
        std::string key;
        std::string rewritten;
        bool startsChosen;
    } cases[] = {
        {"a hand edit's line feed ends the value",
         "Default=b\ntimeout=3\r\n[operating systems]\r\nb=1\r\nC:\\=2\r\n\x1Atail", 2, "C:\\",
         "Default=C:\\\ntimeout=3\r\n[operating systems]\r\nb=1\r\nC:\\=2\r\n\x1Atail", true},
        {"the second of a path moves up", "default=a\r\n[operating systems]\r\nb=0\r\na=1\r\nc=2\r\na=3\r\na=4\r",
         4, "a", "default=a\r\n[operating systems]\r\nb=0\r\na=3\r\na=1\r\nc=2\r\na=4\r\n", true},
        {"the first of a path stays", "default=b\r\n[operating systems]\r\na=1\r\na=2\r\n", 1, "a",
         "default=a\r\n[operating systems]\r\na=1\r\na=2\r\n", true},
        {"the same key before the section", "a=0\r\ndefault=b\r\n[Operating Systems]\r\nb=1\r\na=2\r\n", 2, "a",
         "a=0\r\ndefault=a\r\n[Operating Systems]\r\nb=1\r\na=2\r\n", true},
        // boot.ini changed since its entries were read: nothing moves, and the loader would start another line.
        {"another entry on the slot's line", "default=b\r\n[operating systems]\r\na=1\r\nb=2\r\n", 2, "a",
         "default=a\r\n[operating systems]\r\na=1\r\nb=2\r\n", false},
        {"a key with a line feed", "default=b\r\n[operating systems]\r\na\nb=1\r\n", 1, "a\nb",
         "default=a\nb\r\n[operating systems]\r\na\nb=1\r\n", false},
    };
    for (const auto& c : cases) {
        Fresh();
        chooserState.Slot(c.slot) = OsEntry{c.key.c_str(), "x"};
        Put("boot.ini", c.old);
        EXPECT_EQ(c.startsChosen, WriteDefaultKey(std::uint8_t(c.slot))) << c.what;
        EXPECT_EQ(c.rewritten, Content("boot.ini")) << c.what;
    }
}

// On the NT family boot.ini is replaced in one step. It keeps its attributes; the backup keeps
// hidden and system but not read-only, so that the next one can replace it. A read-only backup
// (an older version made them) can't be replaced on the NT family and stays; the 9x family
// clears it first.
TEST_F(BootFile, EachFamilyRewritesAndBacksUpWithoutLeavingAName) {
    const struct {
        const char* name;
        bool win9x;
        DWORD oldBackup;
        std::string backup;
        DWORD backupAttributes;
    } cases[] = {
        {"NT", false, kHiddenSystem, kOld, kHiddenSystem},
        {"NT, read-only backup", false, kProtected, "older", kProtected},
        {"9x, read-only backup", true, kProtected, kOld, kHiddenSystem},
    };
    for (const auto& c : cases) {
        EXPECT_EQ("", Rewrite(c.win9x, c.oldBackup, {}, c.name));
        EXPECT_EQ(kNew, Content("boot.ini")) << c.name;
        EXPECT_EQ(kProtected, Attributes("boot.ini")) << c.name;
        EXPECT_EQ(c.backup, Content("boot.old")) << c.name;
        EXPECT_EQ(c.backupAttributes, Attributes("boot.old") & ~FILE_ATTRIBUTE_ARCHIVE) << c.name;
        bool usedMoveEx = false;
        for (const auto& step : winsim::FileJournal()) usedMoveEx = usedMoveEx || step.call == "MoveFileExA";
        EXPECT_EQ(!c.win9x, usedMoveEx) << c.name;
    }
}

// A file call of a rewrite failing, or on the 9x family, which has no MoveFileExA, up to three
// of its renames and copies: only opening and closing raise. (A failing write, flush or rename on the NT family
// leaves the file whole as every other failure does; the fuzz target fails them all.) The 9x
// family renames boot.ini aside, the new one takes its name, the old one goes last; when the new
// one can't take the name the old one comes back, and when that fails too the new one is copied.
TEST_F(BootFile, FailingCallsLeaveAWholeFile) {
    const struct {
        std::vector<Fault> faults;
        bool raises = false;
        bool keepsReadOnly = true;
        bool win9x = false;
    } cases[] = {
        {{{"CreateFileA", 1}}, true},  // opening boot.ini
        {{{"CreateFileA", 2}}, true},  // creating the temporary file
        {{{"CloseHandle", 1}}, true},  // the temporary file
        {{{"CloseHandle", 2}}, true},  // boot.ini
        {{{"ReadFile", 1}}},
        {{{"GetFileAttributesA", 1}}},  // boot.ini's attributes
        {{{"SetFileAttributesA", 1}}},  // clearing boot.ini's read-only
        {{{"SetFileAttributesA", 2}}, false, false},  // restoring boot.ini's attributes
        // A platform that can't tell its family still replaces in one step where it can.
        {{{"GetVersionExA", 1}}},
        {{{"GetVersionExA", 2}}},
        {{{"MoveFileA", 1}}, false, true, true},  // boot.old aside
        {{{"MoveFileA", 3}}, false, true, true},  // boot.ini aside
        {{{"MoveFileA", 4}}, false, true, true},  // the new one taking its name
        {{{"MoveFileA", 4}, {"MoveFileA", 5}}, false, true, true},
        {{{"MoveFileA", 4}, {"MoveFileA", 5}, {"CopyFileA", 1}}, false, true, true},
    };
    for (const auto& c : cases) {
        std::string what = c.win9x ? "9x:" : "NT:";
        for (const Fault& fault : c.faults)
            what += std::string(" ") + fault.function + " #" + std::to_string(fault.nth);
        EXPECT_EQ(c.raises ? "I/O error 31." : "", Rewrite(c.win9x, 0, c.faults, what)) << what;
        EXPECT_EQ(c.keepsReadOnly, (Attributes("boot.ini") & kReadOnly) != 0) << what;
    }
}

// Files planted under the names the rewrite writes to (hard links to a protected file, say), or a
// folder named c:\boot.old, are replaced as names, never written through: the file they name
// keeps its bytes and its attributes. A read-only c:\boot.old can't be replaced on the NT family,
// nor can a read-only fresh copy: the backup is skipped. A read-only file under the temporary name
// can't be deleted, so the temporary file can't be made: the error box, boot.ini as it was.
TEST_F(BootFile, NeverWritesThroughAPlantedFile) {
    for (const char* planted : {"36528945648732", "36528945648734", "boot.old"}) {
        for (const DWORD victimAttributes : {DWORD{FILE_ATTRIBUTE_SYSTEM}, kProtected}) {
            const std::string what =
                planted + std::string(" to a file of attributes ") + std::to_string(victimAttributes);
            Arrange();
            Put("victim.sys", "precious", victimAttributes);
            std::filesystem::create_hard_link(host_ / "victim.sys", host_ / planted);
            const bool readOnly = victimAttributes == kProtected;
            const bool blocksTheRewrite = readOnly && planted == std::string(kFixedNames[0]);
            bool named = false;
            EXPECT_EQ(blocksTheRewrite ? "I/O error 80." : "", testing::Raised([&] { named = WriteDefaultKey(3); }))
                << what;
            EXPECT_EQ(!blocksTheRewrite, named) << what;
            EXPECT_EQ("precious", Content("victim.sys")) << what;
            EXPECT_EQ(victimAttributes, Attributes("victim.sys")) << what;
            if (blocksTheRewrite) continue;
            EXPECT_EQ(kNew, Content("boot.ini")) << what;
            const std::string backup = !readOnly ? kOld : planted == std::string("boot.old") ? "precious" : "<missing>";
            EXPECT_EQ(backup, Content("boot.old")) << what;
        }
    }
    // The NT family's one-step rename refuses a folder by itself; the 9x family's renames must.
    Arrange();
    winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    std::filesystem::create_directories(host_ / "boot.old" / "inside");
    EXPECT_TRUE(WriteDefaultKey(3));
    EXPECT_EQ(kNew, Content("boot.ini"));
    EXPECT_TRUE(std::filesystem::is_directory(host_ / "boot.old" / "inside"));
    EXPECT_EQ(2, std::distance(std::filesystem::directory_iterator(host_), {})) << "boot.ini, the folder";
}

}  // namespace
}  // namespace mvorbel
