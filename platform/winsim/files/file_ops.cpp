// Whole-file calls: attributes, delete, copy and move.
#include <cstdio>

#include "platform/winsim/files/file_system.h"

namespace {

namespace host = std::filesystem;
using winsim::fs::Location;
using winsim::fs::SetError;

bool Fail(DWORD code) {
    SetError(code);
    return false;
}

// The source of a copy or move: an existing file (or, for moves, folder).
std::optional<Location> Existing(const char* path) {
    auto at = winsim::fs::Resolve(path);
    if (at && !at->exists) {
        SetError(ERROR_FILE_NOT_FOUND);
        return std::nullopt;
    }
    return at;
}

bool CopyContent(const Location& from, const Location& to) {
    std::error_code error;
    host::copy_file(from.hostPath, to.hostPath, host::copy_options::overwrite_existing, error);
    if (error) return Fail(winsim::fs::HostError(error.value()));
    winsim::fs::CopyRecord(from.hostPath, to.hostPath);
    // The copy takes the source's attributes and last-write time, as Windows' CopyFile does.
    winsim::fs::SetHostLastWriteTime(to.hostPath, winsim::fs::LastWriteTime(from.hostPath));
    Location target = to;
    target.exists = true;
    winsim::fs::SetAttributes(target, winsim::fs::Attributes(from));
    return true;
}

// Renames within or across drives; the file keeps its attributes.
bool Rename(const Location& from, const Location& to) {
    std::error_code error;
    host::rename(from.hostPath, to.hostPath, error);
    if (error && error.value() == EXDEV && !from.isDirectory) {
        error.clear();
        host::copy_file(from.hostPath, to.hostPath, host::copy_options::overwrite_existing, error);
        if (!error) {
            winsim::fs::SetHostLastWriteTime(to.hostPath, winsim::fs::LastWriteTime(from.hostPath));
            host::remove(from.hostPath, error);
        }
    }
    if (error) return Fail(winsim::fs::HostError(error.value()));
    winsim::fs::MoveRecord(from.hostPath, to.hostPath);
    return true;
}

std::string Flags(DWORD flags) { return winsim::fs::Hex(flags); }

BOOL Move(const char* call, LPCSTR existingName, LPCSTR newName, DWORD flags) {
    auto from = Existing(existingName);
    if (!from) return FALSE;
    auto to = winsim::fs::Resolve(newName);
    if (!to) return FALSE;
    if (from->isRoot || to->isRoot) return Fail(ERROR_ACCESS_DENIED);
    if (DWORD conflict = winsim::fs::SharingConflict(from->hostPath, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE)) {
        return Fail(conflict);
    }
    bool sameFile = to->exists && to->hostPath == from->hostPath;
    if (to->exists && !sameFile) {
        if (!(flags & MOVEFILE_REPLACE_EXISTING)) return Fail(ERROR_ALREADY_EXISTS);
        if (to->isDirectory || (winsim::fs::Attributes(*to) & FILE_ATTRIBUTE_READONLY) ||
            winsim::fs::IsOpen(to->hostPath)) {
            return Fail(ERROR_ACCESS_DENIED);
        }
    }
    if (from->drive != to->drive && !(flags & MOVEFILE_COPY_ALLOWED)) return Fail(ERROR_NOT_SAME_DEVICE);
    if (from->drive != to->drive && from->isDirectory) return Fail(ERROR_ACCESS_DENIED);
    // A case-only rename: the new spelling is the name given.
    Location target = *to;
    if (sameFile) {
        std::string name(newName);
        auto separator = name.find_last_of("\\/:");
        target.hostPath = to->hostPath.parent_path() / (separator == std::string::npos ? name : name.substr(separator + 1));
    }
    if (!Rename(*from, target)) return FALSE;
    std::vector<std::string> arguments{from->windowsPath, to->windowsPath};
    if (std::string(call) == "MoveFileExA") arguments.push_back(Flags(flags));
    winsim::fs::Record(from->drive == 'C' || to->drive == 'C', call, std::move(arguments), "TRUE");
    return TRUE;
}

}  // namespace

DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName) {
    if (winsim::detail::FailsNow("GetFileAttributesA")) return INVALID_FILE_ATTRIBUTES;
    auto at = Existing(lpFileName);
    return at ? winsim::fs::Attributes(*at) : INVALID_FILE_ATTRIBUTES;
}

BOOL WINAPI SetFileAttributesA(LPCSTR lpFileName, DWORD dwFileAttributes) {
    if (winsim::detail::FailsNow("SetFileAttributesA")) return FALSE;
    auto at = Existing(lpFileName);
    if (!at) return FALSE;
    winsim::fs::SetAttributes(*at, dwFileAttributes);
    winsim::fs::Record(at->drive == 'C', "SetFileAttributesA", {at->windowsPath, winsim::fs::Hex(dwFileAttributes)},
                       "TRUE");
    return TRUE;
}

BOOL WINAPI DeleteFileA(LPCSTR lpFileName) {
    if (winsim::detail::FailsNow("DeleteFileA")) return FALSE;
    auto at = Existing(lpFileName);
    if (!at) return FALSE;
    if (at->isDirectory || (winsim::fs::Attributes(*at) & FILE_ATTRIBUTE_READONLY)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (DWORD conflict = winsim::fs::SharingConflict(at->hostPath, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE)) {
        return Fail(conflict);
    }
    std::error_code error;
    host::remove(at->hostPath, error);
    if (error) return Fail(winsim::fs::HostError(error.value()));
    winsim::fs::ForgetFile(at->hostPath);
    winsim::fs::Record(at->drive == 'C', "DeleteFileA", {at->windowsPath}, "TRUE");
    return TRUE;
}

BOOL WINAPI CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists) {
    if (winsim::detail::FailsNow("CopyFileA")) return FALSE;
    auto from = Existing(lpExistingFileName);
    if (!from) return FALSE;
    if (from->isDirectory) return Fail(ERROR_ACCESS_DENIED);
    auto to = winsim::fs::Resolve(lpNewFileName);
    if (!to) return FALSE;
    if (DWORD conflict = winsim::fs::SharingConflict(from->hostPath, GENERIC_READ, FILE_SHARE_READ)) {
        return Fail(conflict);
    }
    if (to->exists) {
        if (bFailIfExists) return Fail(ERROR_FILE_EXISTS);
        if (to->isDirectory || to->hostPath == from->hostPath ||
            (winsim::fs::Attributes(*to) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN))) {
            return Fail(ERROR_ACCESS_DENIED);
        }
        if (DWORD conflict = winsim::fs::SharingConflict(to->hostPath, GENERIC_WRITE, 0)) return Fail(conflict);
    } else if (to->isRoot) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (!CopyContent(*from, *to)) return FALSE;
    winsim::fs::Record(from->drive == 'C' || to->drive == 'C', "CopyFileA",
                       {from->windowsPath, to->windowsPath, bFailIfExists ? "TRUE" : "FALSE"}, "TRUE");
    return TRUE;
}

BOOL WINAPI MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName) {
    if (winsim::detail::FailsNow("MoveFileA")) return FALSE;
    return Move("MoveFileA", lpExistingFileName, lpNewFileName, MOVEFILE_COPY_ALLOWED);
}

BOOL WINAPI MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags) {
    if (winsim::detail::FailsNow("MoveFileExA")) return FALSE;
    constexpr DWORD kKnown = MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH;
    if (dwFlags & ~kKnown) return Fail(ERROR_INVALID_PARAMETER);
    // Writing through changes nothing here: every host rename is complete when it returns.
    return Move("MoveFileExA", lpExistingFileName, lpNewFileName, dwFlags);
}
