#include "core/file_replace.h"

#include "core/power.h"
#include "core/text_file.h"

namespace mvorbel {
namespace {

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// The 9x family has no hard links, so clearing the attributes touches no other file's.
void DeleteAside(const char* aside) {
    SetFileAttributesA(aside, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(aside);
}

bool ReplaceByRenames(const char* fresh, const char* target, const char* aside) {
    // What is under the aside name now is a leftover of a run that was cut short, or planted.
    if (Exists(aside)) DeleteAside(aside);
    const DWORD targetAttributes = GetFileAttributesA(target);
    const bool hadTarget = targetAttributes != INVALID_FILE_ATTRIBUTES;
    // A folder is no file to replace; renamed aside, it could not be deleted.
    if (hadTarget && (targetAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    if (hadTarget && !MoveFileA(target, aside)) return false;
    if (MoveFileA(fresh, target)) {
        if (hadTarget) DeleteAside(aside);
        return true;
    }
    if (!hadTarget || MoveFileA(aside, target)) return false;
    if (CopyFileA(fresh, target, TRUE)) {
        DeleteAside(aside);
        return true;
    }
    if (CopyFileA(aside, target, TRUE)) DeleteAside(aside);
    return false;
}

}  // namespace

bool ReplaceFile(const char* fresh, const char* target, const char* aside) {
    // Only a platform that says it is of the 9x family goes without the one-step rename: one
    // that can't even tell its family is tried with it, and its own answer decides.
    if (ReportedFamily() != VER_PLATFORM_WIN32_WINDOWS) {
        if (MoveFileExA(fresh, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
    }
    return ReplaceByRenames(fresh, target, aside);
}

bool WriteFreshFile(const char* fresh, std::string_view text, DWORD attributes) {
    DeleteFileA(fresh);
    TextWriter file(fresh, CREATE_NEW, attributes);
    file.WriteText(text);
    file.Flush();
    const bool written = !file.Close().raised && !file.Failure().raised;
    if (!written) DeleteFileA(fresh);
    return written;
}

}  // namespace mvorbel
