#include "core/boot_file.h"
#include "tests/core/drive_c_fixture.h"

namespace mvorbel {
namespace {

using Slots = std::vector<std::string>;
using BootFileRead = testing::DriveC;

// Slots 1..5 as "key|description", "" for a free slot, up to the last slot in use.
Slots SlotTexts() {
    Slots slots;
    for (const auto& entry : chooserState.osEntries) {
        const bool shown = entry.Used() || !entry.description.empty();
        slots.push_back(shown ? std::string(entry.key + "|" + entry.description) : "");
    }
    while (!slots.empty() && slots.back().empty()) slots.pop_back();
    return slots;
}

const std::string kXp = "multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS";
const std::string k2000 = "multi(0)disk(0)rdisk(0)partition(2)\\WINNT";

TEST_F(BootFileRead, FillsSlotsByTheSectionRules) {
    const struct {
        const char* what;
        std::string content;
        Slots slots;
    } cases[] = {
        // The forms the NT loader's documentation shows: mixed-case header, blanks around "=",
        // quoted descriptions with switches, a C:\ entry, the same path twice.
        {"the loader's own forms",
         "[boot loader]\r\ndefault=" + kXp + "\r\n[Operating Systems]\r\n" + kXp +
             "=\"Windows XP\" /fastdetect\r\n" + k2000 + " = \"Windows 2000\" /fastdetect\r\n" +
             "C:\\=\"Microsoft Windows\"\r\n" + kXp + "=\"XP safe mode\" /safeboot:minimal\r\n",
         {kXp + "|\"Windows XP\" /fastdetect", k2000 + " | \"Windows 2000\" /fastdetect",
          "C:\\|\"Microsoft Windows\"", kXp + "|\"XP safe mode\" /safeboot:minimal"}},
        {"header with a comment", "[operating systems] ; os\r\na=1\r\n", {}},
        {"header by the text before =", "[operating systems]=x\r\na=1\r\n", {"a|1"}},
        {"seven entries", "[operating systems]\r\na=1\r\nb=2\r\nc=3\r\nd=4\r\ne=5\r\nf=6\r\n",
         {"a|1", "b|2", "c|3", "d|4", "e|5"}},
        {"blank line takes a slot", "[operating systems]\r\na=1\r\n\r\nb=2", {"a|1", "", "b|2"}},
        {"a following header is an entry", "[operating systems]\r\na=1\r\n [x] \r\nb=2\r\n",
         {"a|1", "[x]|", "b|2"}},
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
        std::string content, key;
    } cases[] = {
        {"in capitals", "[boot loader]\r\nDEFAULT=C:\\\r\n", "C:\\"},
        {"blank before =", "default =C:\\\r\n", ""},
        {"just the word", "default\r\ndefault=late\r\n", ""},
        {"first of two anywhere", "[operating systems]\r\ndefault=one\r\ndefault=two\r\n", "one"},
    };
    for (const auto& c : cases) {
        Put("boot.ini", c.content);
        EXPECT_EQ(c.key, ReadDefaultKey()) << c.what;
    }
}

TEST_F(BootFileRead, ErrorsRaiseFromTheEntriesButReadErrorsEndTheDefaultScanQuietly) {
    chooserState.Slot(2) = OsEntry{"stale", "entry"};
    EXPECT_EQ("File not found.", testing::Raised(ReadOsEntries));
    EXPECT_EQ(Slots{}, SlotTexts()) << "the table is emptied first";
    Fresh();
    EXPECT_EQ("File not found.", testing::Raised(ReadDefaultKey));

    Put("boot.ini", "default=a\r\n[operating systems]\r\na=1\r\n");
    winsim::FailCall("ReadFile", 1, ERROR_READ_FAULT);
    EXPECT_EQ("I/O error 30.", testing::Raised(ReadOsEntries));
    winsim::FailCall("ReadFile", 1, ERROR_READ_FAULT);
    EXPECT_EQ("", ReadDefaultKey());
    winsim::FailCall("CloseHandle", 1, ERROR_INVALID_HANDLE);
    EXPECT_EQ("I/O error 6.", testing::Raised(ReadDefaultKey)) << "a failed close raises";
}

}  // namespace
}  // namespace mvorbel
