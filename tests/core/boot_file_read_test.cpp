#include "core/boot_file.h"
#include "core/io_error.h"
#include "tests/core/drive_c_fixture.h"

namespace mvorbel {
namespace {

using Slots = std::vector<std::string>;

// Slots 1..5 as "key|description", "" for a free slot.
Slots SlotTexts() {
    Slots slots;
    for (const auto& entry : chooserState.osEntries)
        slots.push_back(entry.Used() || !entry.description.empty() ? entry.key + "|" + entry.description : "");
    return slots;
}

using BootFileRead = testing::DriveC;

const std::string kXp = "multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS";

TEST_F(BootFileRead, FillsSlotsByTheSectionRules) {
    const Slots none{"", "", "", "", ""};
    const struct {
        const char* what;
        std::string content;
        Slots slots;
    } cases[] = {
        // The forms the NT loader's documentation shows: mixed-case header, blanks around "=",
        // quoted descriptions with switches, a C:\ entry, the same path twice.
        {"the loader's own forms",
         "[boot loader]\r\ndefault=" + kXp + "\r\n[Operating Systems]\r\n" + kXp +
             "=\"Microsoft Windows XP Professional\" /fastdetect\r\n"
             "multi(0)disk(0)rdisk(0)partition(2)\\WINNT = \"Windows 2000\" /fastdetect\r\n"
             "C:\\=\"Microsoft Windows\"\r\n" + kXp + "=\"XP safe mode\" /safeboot:minimal /sos\r\n",
         {kXp + "|\"Microsoft Windows XP Professional\" /fastdetect",
          "multi(0)disk(0)rdisk(0)partition(2)\\WINNT | \"Windows 2000\" /fastdetect", "C:\\|\"Microsoft Windows\"",
          kXp + "|\"XP safe mode\" /safeboot:minimal /sos", ""}},
        {"header in capitals with blanks around", " \t[OPERATING SYSTEMS]\t \r\na=1\r\n", {"a|1", "", "", "", ""}},
        {"header with a comment is not found", "[operating systems] ; os\r\na=1\r\n", none},
        {"header found by the text before its =", "[operating systems]=x\r\na=1\r\n", {"a|1", "", "", "", ""}},
        {"seven entries fill five slots", "[operating systems]\r\na=1\r\nb=2\r\nc=3\r\nd=4\r\ne=5\r\nf=6\r\ng=7\r\n",
         {"a|1", "b|2", "c|3", "d|4", "e|5"}},
        {"a blank line takes a slot", "[operating systems]\r\na=1\r\n\r\nb=2\r\n", {"a|1", "", "b|2", "", ""}},
        {"a following header becomes an entry", "[operating systems]\r\na=1\r\n  [other] \r\nb=2\r\n",
         {"a|1", "[other]|", "b|2", "", ""}},
        {"LF-only file is one line", "[operating systems]\na=1\nb=2\n", none},
        {"Ctrl-Z ends the section", "[operating systems]\r\na=1\r\n\x1a" "b=2\r\n", {"a|1", "", "", "", ""}},
    };
    for (const auto& c : cases) {
        Put("boot.ini", c.content);
        ReadOsEntries();
        EXPECT_EQ(c.slots, SlotTexts()) << c.what;
    }
}

TEST_F(BootFileRead, DefaultKeyIsTheFirstDefaultLinesValue) {
    const struct {
        const char* what;
        std::string content;
        std::string key;
    } cases[] = {
        {"in capitals", "[boot loader]\r\nDEFAULT=C:\\\r\n", "C:\\"},
        {"blank before =", "default =C:\\\r\n", ""},
        {"blank before the key", " default=C:\\\r\n", ""},
        {"blank after = stays", "default= C:\\\r\n", " C:\\"},
        {"just the word", "default\r\ndefault=late\r\n", ""},
        {"first of two, in any section", "[operating systems]\r\ndefault=one\r\n[x]\r\ndefault=two\r\n", "one"},
        {"LF-only file", "[boot loader]\ndefault=a\ntimeout=1\n", ""},
        {"empty file", "", ""},
    };
    for (const auto& c : cases) {
        Put("boot.ini", c.content);
        EXPECT_EQ(c.key, ReadDefaultKey()) << c.what;
    }
}

TEST_F(BootFileRead, ErrorsRaiseFromTheEntriesButReadErrorsEndTheDefaultScanQuietly) {
    chooserState.Slot(2) = OsEntry{"stale", "entry"};
    try {
        ReadOsEntries();
        FAIL() << "a missing file raised nothing";
    } catch (const InOutError& error) {
        EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), error.Code());
    }
    EXPECT_EQ((Slots{"", "", "", "", ""}), SlotTexts()) << "the table is emptied first";
    EXPECT_THROW(ReadDefaultKey(), InOutError);

    Put("boot.ini", "default=a\r\n[operating systems]\r\na=1\r\n");
    winsim::FailCall("ReadFile", 1, ERROR_READ_FAULT);
    EXPECT_THROW(ReadOsEntries(), InOutError);
    EXPECT_EQ(0u, winsim::OpenHandleCount()) << "the file is closed before the error goes up";
    winsim::FailCall("ReadFile", 1, ERROR_READ_FAULT);
    EXPECT_EQ("", ReadDefaultKey());
    winsim::FailCall("CloseHandle", 1, ERROR_INVALID_HANDLE);
    EXPECT_THROW(ReadDefaultKey(), InOutError) << "a failed close raises";
}

}  // namespace
}  // namespace mvorbel
