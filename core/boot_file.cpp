#include "core/boot_file.h"

#include <utility>

#include "core/boot_rewrite.h"
#include "core/chooser_state.h"
#include "core/file_replace.h"
#include "core/io_error.h"
#include "core/key_value.h"
#include "core/text_file.h"
#include "platform/win32.h"

namespace mvorbel {
namespace {

constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY;

// The copy is written anew under its own name and then renamed in, so a file planted at
// c:\boot.old (a hard link to another file, say) is replaced, never written through, and its
// attributes are never touched. It keeps boot.ini's hidden and system bits but not read-only,
// so that the next backup can replace it; a read-only c:\boot.old (an older version's backup)
// can't be replaced on the NT family, and stays.
void MakeBackupCopy(std::string_view text, DWORD attributes) {
    const DWORD kept = attributes != INVALID_FILE_ATTRIBUTES
                           ? attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)
                           : 0;
    if (WriteFreshFile(kFreshBackupPath, text, kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL)) {
        ReplaceFile(kFreshBackupPath, kBackupFilePath, kBackupAsidePath);
    }
    DeleteFileA(kFreshBackupPath);
}

// Windows XP ships boot.ini read-only; on the NT family the rename can't replace it then. The
// attributes are put back whatever happened.
bool ReplaceBootFile(DWORD attributes) {
    const bool known = attributes != INVALID_FILE_ATTRIBUTES;
    if (known && (attributes & kReadOnly) != 0) {
        const DWORD writable = attributes & ~kReadOnly;
        SetFileAttributesA(kBootFilePath, writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL);
    }
    const bool replaced = ReplaceFile(kTemporaryFilePath, kBootFilePath, kBootAsidePath);
    if (known) SetFileAttributesA(kBootFilePath, attributes);
    return replaced;
}

}  // namespace

void ReadOsEntries() {
    for (auto& entry : chooserState.osEntries) entry = OsEntry{};
    TextReader input(kBootFilePath);
    RaiseIfFailed(input.Failure());
    bool found = false;
    do {
        found = IsOsSectionHeader(SplitKeyValue(input.ReadLine()).key);
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
        if (found) result = DefaultKeyOf(split.value);
    } while (!found && !input.AtEnd());
    RaiseIfFailed(input.Close());
    return result;
}

bool WriteDefaultKey(std::uint8_t slot) {
    const String newKey = chooserState.Slot(slot).key;
    const DWORD attributes = GetFileAttributesA(kBootFilePath);

    TextReader input(kBootFilePath);
    RaiseIfFailed(input.Failure());
    const String old = input.ReadRest();
    const bool read = !input.Failure().raised;
    // Whatever is planted under the temporary name (a hard link to another file, say) must not be
    // written through: it goes, and the file is made anew.
    DeleteFileA(kTemporaryFilePath);
    TextWriter output(kTemporaryFilePath, CREATE_NEW);
    RaiseIfFailed(output.Failure());
    const RewrittenBootText rewrite = RewriteBootText(old, newKey, slot);
    if (read) {
        output.WriteText(rewrite.text);
        // The replacement below is only as good as what has reached the disk before it.
        output.Flush();
    }
    RaiseIfFailed(output.Close());
    RaiseIfFailed(input.Close());

    bool replaced = false;
    if (read && !output.Failure().raised) {
        if (chooserState.backup) MakeBackupCopy(old, attributes);
        replaced = ReplaceBootFile(attributes);
    }
    // Not a byte of a failed rewrite stays behind.
    DeleteFileA(kTemporaryFilePath);
    // A file without a "default" line is still rewritten, but then names no key.
    return replaced && rewrite.startsChosen;
}

}  // namespace mvorbel
