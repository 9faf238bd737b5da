#include "core/boot_file.h"

#include <utility>

#include "core/chooser_state.h"
#include "core/io_error.h"
#include "core/key_value.h"
#include "core/power.h"
#include "core/text_file.h"
#include "platform/win32.h"

namespace mvorbel {
namespace {

constexpr DWORD kKeepAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool IsDefaultKey(std::string_view key) { return LowerAscii(key) == "default"; }

// Windows refuses to copy onto a read-only, hidden or system file, which an earlier backup of
// XP's read-only hidden system boot.ini is; the backup must still show the file as it is now.
void MakeBackupCopy() {
    DWORD oldAttributes = GetFileAttributesA(kBackupFilePath);
    if (oldAttributes != INVALID_FILE_ATTRIBUTES && (oldAttributes & kKeepAttributes) != 0) {
        SetFileAttributesA(kBackupFilePath, FILE_ATTRIBUTE_NORMAL);
    }
    CopyFileA(kBootFilePath, kBackupFilePath, FALSE);
}

struct Rewrite {
    bool copied = false;  // every line reached the disk; false leaves a partial temporary file
    bool namesKey = false;  // some "default" line now names the chosen key
    String text;  // every line written, each with its CR LF
};

// Copies boot.ini to the temporary file line by line with the default lines rewritten.
Rewrite CopyRewritten(TextReader& input, TextWriter& output, std::string_view newKey) {
    Rewrite rewrite;
    // A failed step ends the loop; the old boot.ini stays, and the caller learns it from the result.
    do {
        const String line = input.ReadLine();
        if (input.Failure().raised) break;
        if (IsDefaultKey(SplitKeyValue(line).key)) rewrite.namesKey = true;
        const String rewritten = RewriteDefaultLine(line, newKey);
        output.WriteLine(rewritten);
        rewrite.text += rewritten;
        rewrite.text += "\r\n";
    } while (!input.AtEnd() && !output.Failure().raised);
    // The replacement below is only as good as what has reached the disk before it.
    output.Flush();
    rewrite.copied = !input.Failure().raised && !output.Failure().raised;
    return rewrite;
}

bool BootFileMissing() { return GetFileAttributesA(kBootFilePath) == INVALID_FILE_ATTRIBUTES; }

// The 9x family has no MoveFileExA: the old file must go before the new one can take its name.
// Should the move fail after the delete, a whole boot.ini is put back before anything else.
bool ReplaceByDeleteAndMove(std::string_view text) {
    DeleteFileA(kBootFilePath);
    if (MoveFileA(kTemporaryFilePath, kBootFilePath)) return true;
    if (!BootFileMissing()) return false;
    if (CopyFileA(kTemporaryFilePath, kBootFilePath, TRUE)) return true;
    TextWriter restored(kBootFilePath, CREATE_NEW);
    restored.WriteText(text);
    restored.Flush();
    const InOutError closed = restored.Close();
    return !restored.Failure().raised && !closed.raised;
}

// On the NT family the rename replaces the file in one step, so boot.ini always holds either
// its old or its new text, even across a power cut.
bool Replace(std::string_view text, DWORD attributes) {
    bool known = attributes != INVALID_FILE_ATTRIBUTES;
    // Windows XP ships boot.ini read-only; neither the rename nor the delete may replace it then.
    if (known && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        const DWORD writable = attributes & ~FILE_ATTRIBUTE_READONLY;
        SetFileAttributesA(kBootFilePath, writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL);
    }
    bool replaced = IsWin9xFamily()
                        ? ReplaceByDeleteAndMove(text)
                        : MoveFileExA(kTemporaryFilePath, kBootFilePath,
                                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (known) SetFileAttributesA(kBootFilePath, attributes);
    return replaced;
}

}  // namespace

String RewriteDefaultLine(std::string_view line, std::string_view newKey) {
    KeyValue split = SplitKeyValue(line);
    if (!IsDefaultKey(split.key)) return String(line);
    split.key += "=";
    split.key += newKey;
    return split.key;
}

void ReadOsEntries() {
    for (auto& entry : chooserState.osEntries) entry = OsEntry{};
    TextReader input(kBootFilePath);
    RaiseIfFailed(input.Failure());
    bool found = false;
    do {
        found = LowerAscii(SplitKeyValue(input.ReadLine()).key) == "[operating systems]";
    } while (!found && !input.AtEnd());
    for (int count = 1; count <= kOsSlotCount && !input.AtEnd(); ++count) {
        KeyValue split = SplitKeyValue(input.ReadLine());
        if (input.Failure().raised) break;
        chooserState.Slot(count) = OsEntry{std::move(split.key), std::move(split.value)};
    }
    // A failed read is raised once the file is closed; the slots filled so far stay filled.
    const InOutError closed = input.Close();
    RaiseIfFailed(input.Failure());
    RaiseIfFailed(closed);
}

String ReadDefaultKey() {
    TextReader input(kBootFilePath);
    RaiseIfFailed(input.Failure());
    String result;
    // A file that can't be read to its end gives what was found before the failure.
    bool found = false;
    do {
        KeyValue split = SplitKeyValue(input.ReadLine());
        if (input.Failure().raised) break;
        found = IsDefaultKey(split.key);
        if (found) result = split.value;
    } while (!found && !input.AtEnd());
    RaiseIfFailed(input.Close());
    return result;
}

bool WriteDefaultKey(std::uint8_t slot) {
    const String newKey = chooserState.Slot(slot).key;
    if (chooserState.backup) MakeBackupCopy();
    DWORD attributes = GetFileAttributesA(kBootFilePath);

    TextReader input(kBootFilePath);
    RaiseIfFailed(input.Failure());
    // Whatever is planted under the temporary name (a hard link to another file, say) must not be
    // written through: it goes, and the file is made anew.
    DeleteFileA(kTemporaryFilePath);
    TextWriter output(kTemporaryFilePath, CREATE_NEW);
    RaiseIfFailed(output.Failure());

    const Rewrite rewrite = CopyRewritten(input, output, newKey);
    RaiseIfFailed(output.Close());
    RaiseIfFailed(input.Close());
    if (!rewrite.copied) return false;
    // A file without a "default" line is still rewritten, but then names no key.
    return Replace(rewrite.text, attributes) && rewrite.namesKey;
}

}  // namespace mvorbel
