// The rewrite of boot.ini's default line, the chosen line moved up before the first of its path,
// on either family, with or without a backup, among planted files of the names it uses, and with
// up to two file calls failing: boot.ini is never lost, the result never claims more than the file
// says, the backup never holds a third text.
//
// Input: flags, attributes of boot.ini, boot.old, planted files, the slot, two faults of three bytes
// (call, nth, error; on when the call byte's top bit is), then the old text.
#include <algorithm>

#include "core/boot_file.h"
#include "core/chooser_state.h"
#include "platform/winsim/system/system_control.h"
#include "tests/fuzz/fuzz_support.h"

using namespace mvorbel;
using namespace mvorbel::fuzz;

namespace {

const char* const kCalls[] = {"GetFileAttributesA", "CreateFileA", "ReadFile",  "WriteFile",
                              "FlushFileBuffers",   "CloseHandle", "DeleteFileA", "MoveFileA",
                              "MoveFileExA",        "CopyFileA",   "SetFileAttributesA", "GetVersionExA"};
const DWORD kErrors[] = {ERROR_GEN_FAILURE, ERROR_ACCESS_DENIED, ERROR_DISK_FULL, ERROR_SHARING_VIOLATION};
// c:\36528945648732 .. 35: the rewritten text, boot.ini aside, the fresh backup, boot.old aside.
const char* const kFixedNames[] = {"36528945648732", "36528945648733", "36528945648734", "36528945648735"};
constexpr std::size_t kHeader = 11;

// Read-only, hidden and system are the low three bits on both sides; archive is 0x20.
DWORD Attributes(std::uint8_t bits) { return DWORD(bits & 7) | (bits & 8 ? FILE_ATTRIBUTE_ARCHIVE : 0); }

// Every line end becomes CR LF, a default line names the key (a line without "=" becomes its
// trimmed key, "=" and the key; with "=", the value up to its first lone LF is replaced), what
// follows a Ctrl-Z stays as it was, and the slot's line, when it holds the key, goes before the
// first line of the section that holds it too.
std::string Rewritten(std::string_view old, const std::string& key, int slot) {
    std::vector<std::string> lines = TextLines(old);
    const std::optional<std::size_t> chosen = SlotLine(lines, slot);
    if (chosen && Split(lines[*chosen]).key == key) {
        std::size_t first = *chosen - std::size_t(slot) + 1;
        while (Split(lines[first]).key != key) ++first;
        std::rotate(lines.begin() + std::ptrdiff_t(first), lines.begin() + std::ptrdiff_t(*chosen),
                    lines.begin() + std::ptrdiff_t(*chosen) + 1);
    }
    std::string text;
    for (std::string line : lines) {
        if (const Line split = Split(line); split.lowerKey == "default") {
            const std::size_t equals = line.find('=');
            const std::size_t lineFeed = equals == line.npos ? line.npos : line.find('\n', equals);
            line = equals == line.npos ? split.key + "=" + key
                                       : line.substr(0, equals + 1) + key +
                                             (lineFeed == line.npos ? "" : line.substr(lineFeed));
        }
        text += line + "\r\n";
    }
    const std::size_t ctrlZ = old.find('\x1A');
    return text + std::string(ctrlZ == old.npos ? "" : old.substr(ctrlZ));
}

// Whether the loader, reading the old text rewritten, starts the slot's entry: the slot's line is
// there with the key (and so comes first among the lines with it once moved), and the default
// names the key.
bool StartsChosen(std::string_view old, const std::string& key, int slot, const std::string& rewritten) {
    const std::vector<std::string> lines = TextLines(old);
    const std::optional<std::size_t> chosen = SlotLine(lines, slot);
    return chosen && Split(lines[*chosen]).key == key && DefaultKey(rewritten) == key;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static DriveC drive;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::uint8_t flags = Byte(input, 0);
    const bool win9x = flags & 1, backup = flags & 2, hadBackup = flags & 4;
    const DWORD backupAttributes = Attributes(Byte(input, 2)), plantedAttributes = Attributes(Byte(input, 3));
    const std::string old(input.substr(std::min(kHeader, size)));

    drive.Fresh();
    if (win9x) winsim::SetVersion(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    drive.Put("boot.ini", old, Attributes(Byte(input, 1)));
    const std::string olderBackup = "older backup\r\n";
    if (hadBackup) drive.Put("boot.old", olderBackup, backupAttributes);
    for (int i = 0; i < 4; ++i) {
        if (flags & (8 << i)) drive.Put(kFixedNames[i], "planted\r\n", plantedAttributes);
    }
    const DWORD attributesBefore = GetFileAttributesA("c:\\boot.ini");
    Check(!testing::ExitCodeOf(ReadOsEntries), "reading boot.ini before the rewrite raises nothing", Shown(old));
    // The menu offers used slots only; without any, a key such a line could give.
    int slot = Byte(input, 4) % kOsSlotCount + 1;
    for (int n = 1; n <= kOsSlotCount && !chooserState.Slot(slot).Used(); ++n) slot = n;
    if (!chooserState.Slot(slot).Used()) chooserState.Slot(slot = 1) = OsEntry{"C:\\", "\"Microsoft Windows\""};
    const std::string key(chooserState.Slot(slot).key);
    chooserState.backup = backup;
    const std::string rewritten = Rewritten(old, key, slot);
    const bool startsChosen = StartsChosen(old, key, slot, rewritten);
    std::string what = std::string(win9x ? "9x" : "NT") + (backup ? ", backup" : "") + ", key " + Shown(key);

    winsim::ClearFileJournal();
    std::size_t faults = 0;
    for (std::size_t at = 5; at < kHeader; at += 3) {
        if (!(Byte(input, at) & 0x80)) continue;
        const char* call = kCalls[Byte(input, at) % std::size(kCalls)];
        winsim::FailCall(call, Byte(input, at + 1) % 12 + 1, kErrors[Byte(input, at + 2) % std::size(kErrors)]);
        what += std::string(", ") + call + " #" + std::to_string(Byte(input, at + 1) % 12 + 1);
        ++faults;
    }
    what += "\nold " + Shown(old) + "\nnew " + Shown(rewritten);
    bool named = false;
    const bool raised = testing::ExitCodeOf([&] { named = WriteDefaultKey(std::uint8_t(slot)); }).has_value();
    const bool failed = winsim::PendingFaultCount() < faults;
    winsim::ClearFaults();

    const auto whole = [&](const std::optional<std::string>& text) { return text == old || text == rewritten; };
    const auto backupKept = [&](const std::optional<std::string>& text) {
        return text == (hadBackup ? std::optional(olderBackup) : std::nullopt) || (backup && text == old);
    };
    const std::optional<std::string> boot = drive.Content("boot.ini");
    Check(whole(boot), "boot.ini ends holding the old or the new text",
          what + "\ngot " + Shown(boot.value_or("<missing>")));
    Check(!named || (boot == rewritten && startsChosen), "true only when boot.ini starts the slot's entry", what);
    Check(backupKept(drive.Content("boot.old")), "the backup is what it was or the old text", what);
    for (const auto& step : winsim::FileJournal()) {
        const auto content = [&](const char* path) {
            const auto* file = step.Find(path);
            return file != nullptr ? std::optional(file->content) : std::nullopt;
        };
        // The 9x family replaces by renames: for a moment the text is whole only under a fixed name.
        Check(whole(content("c:\\boot.ini")) ||
                  (win9x && (whole(content("c:\\36528945648733")) || whole(content("c:\\36528945648732")))),
              "after every step the old or the new text is whole", what + "\nafter " + step.call);
        Check(!content("c:\\boot.old") || backupKept(content("c:\\boot.old")), "the backup is never a third text",
              what + "\nafter " + step.call);
    }
    if (!raised && boot == rewritten && rewritten != old) {
        Check(named == startsChosen, "a replaced boot.ini gives the result its text says", what);
    }
    if (failed) return 0;
    // Only a planted read-only file under the temporary name keeps the rewrite from starting.
    const bool readOnlyPlanted = plantedAttributes & FILE_ATTRIBUTE_READONLY;
    Check(raised == ((flags & 8) && readOnlyPlanted), "without failures only a planted read-only temporary file raises",
          what);
    if (raised) return 0;
    Check(boot == rewritten && named == startsChosen, "without failures boot.ini is rewritten", what);
    Check(GetFileAttributesA("c:\\boot.ini") == attributesBefore, "boot.ini keeps its attributes", what);
    for (int i = 0; i < 4; ++i) {
        Check((flags & (8 << i)) || !drive.Content(kFixedNames[i]), "no fixed name is left behind",
              what + "\n" + kFixedNames[i]);
    }
    const bool backupBlocked = ((flags & 32) && readOnlyPlanted) ||
                               (!win9x && hadBackup && (backupAttributes & FILE_ATTRIBUTE_READONLY));
    Check(!backup || backupBlocked || drive.Content("boot.old") == old, "the backup is made", what);
    return 0;
}
