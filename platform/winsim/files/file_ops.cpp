// Whole-file calls: attributes, delete, copy, move and hard links.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
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

// Overwrites the target in place, as Windows opens and rewrites it: a target with other hard
// links changes under every name.
bool CopyBytes(const host::path& from, const host::path& to) {
    int source = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0) return Fail(winsim::fs::HostError(errno));
    int target = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (target < 0) {
        DWORD error = winsim::fs::HostError(errno);
        close(source);
        return Fail(error);
    }
    char chunk[65536];
    ssize_t got = 0;
    while ((got = read(source, chunk, sizeof chunk)) > 0) {
        for (ssize_t put = 0, done = 0; done < got; done += put) {
            put = write(target, chunk + done, static_cast<std::size_t>(got - done));
            if (put < 0) {
                got = -1;
                break;
            }
        }
        if (got < 0) break;
    }
    DWORD error = got < 0 ? winsim::fs::HostError(errno) : 0;
    close(source);
    close(target);
    return error == 0 || Fail(error);
}

bool CopyContent(const Location& from, const Location& to) {
    if (!CopyBytes(from.hostPath, to.hostPath)) return false;
    winsim::fs::CopyRecord(from.hostPath, to.hostPath);
    // The copy takes the source's attributes and last-write time, as Windows' CopyFile does.
    winsim::fs::SetHostLastWriteTime(to.hostPath, winsim::fs::LastWriteTime(from.hostPath));
    Location target = to;
    target.exists = true;
    winsim::fs::SetAttributes(target, winsim::fs::Attributes(from));
    return true;
}

// Renames within or across drives; the file keeps its attributes. A replaced target loses this
// name only: its other hard links keep it.
bool Rename(const Location& from, const Location& to, bool replaces) {
    if (replaces) winsim::fs::ForgetName(to.hostPath);
    std::error_code error;
    host::rename(from.hostPath, to.hostPath, error);
    if (error && error.value() == EXDEV && !from.isDirectory) {
        error.clear();
        host::remove(to.hostPath, error);
        if (!CopyBytes(from.hostPath, to.hostPath)) return false;
        winsim::fs::CopyRecord(from.hostPath, to.hostPath);
        winsim::fs::SetHostLastWriteTime(to.hostPath, winsim::fs::LastWriteTime(from.hostPath));
        winsim::fs::ForgetName(from.hostPath);
        host::remove(from.hostPath, error);
    }
    if (error) return Fail(winsim::fs::HostError(error.value()));
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
    bool sameName = to->exists && to->hostPath == from->hostPath;
    bool otherLink = to->exists && !sameName && winsim::fs::IdOf(to->hostPath) == winsim::fs::IdOf(from->hostPath);
    if (to->exists && !sameName) {
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
    if (sameName) {
        std::string name(newName);
        auto separator = name.find_last_of("\\/:");
        target.hostPath = to->hostPath.parent_path() / (separator == std::string::npos ? name : name.substr(separator + 1));
    }
    if (otherLink) {
        // The host's rename does nothing between two names of one file; Windows drops the old name.
        std::error_code error;
        host::remove(from->hostPath, error);
        if (error) return Fail(winsim::fs::HostError(error.value()));
    } else if (!Rename(*from, target, to->exists && !sameName)) {
        return FALSE;
    }
    std::vector<std::string> arguments{from->windowsPath, to->windowsPath};
    if (std::string(call) == "MoveFileExA") arguments.push_back(Flags(flags));
    winsim::fs::Record(call, std::move(arguments), "TRUE", {from->hostPath, target.hostPath});
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
    // A folder's attributes are no file's: the journal keeps files only.
    if (!at->isDirectory) {
        winsim::fs::Record("SetFileAttributesA", {at->windowsPath, winsim::fs::Hex(dwFileAttributes)}, "TRUE",
                           {at->hostPath}, winsim::fs::IdOf(at->hostPath));
    }
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
    winsim::fs::ForgetName(at->hostPath);
    std::error_code error;
    host::remove(at->hostPath, error);
    if (error) return Fail(winsim::fs::HostError(error.value()));
    winsim::fs::Record("DeleteFileA", {at->windowsPath}, "TRUE", {at->hostPath});
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
        // The target is opened for writing while the source is open sharing only reading: a
        // copy onto the same file, under any of its names, meets its own source.
        if (winsim::fs::IdOf(to->hostPath) == winsim::fs::IdOf(from->hostPath)) return Fail(ERROR_SHARING_VIOLATION);
        if (to->isDirectory || (winsim::fs::Attributes(*to) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN))) {
            return Fail(ERROR_ACCESS_DENIED);
        }
        if (DWORD conflict = winsim::fs::SharingConflict(to->hostPath, GENERIC_WRITE, 0)) return Fail(conflict);
    } else if (to->isRoot) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (!CopyContent(*from, *to)) return FALSE;
    winsim::fs::Record("CopyFileA", {from->windowsPath, to->windowsPath, bFailIfExists ? "TRUE" : "FALSE"}, "TRUE",
                       {to->hostPath}, winsim::fs::IdOf(to->hostPath));
    return TRUE;
}

BOOL WINAPI MoveFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName) {
    if (winsim::detail::FailsNow("MoveFileA")) return FALSE;
    return Move("MoveFileA", lpExistingFileName, lpNewFileName, MOVEFILE_COPY_ALLOWED);
}

BOOL WINAPI MoveFileExA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags) {
    if (winsim::detail::FailsNow("MoveFileExA")) return FALSE;
    // Windows 95, 98 and ME export it but do not implement it.
    if (!winsim::detail::NtFamilyNow()) return Fail(ERROR_CALL_NOT_IMPLEMENTED);
    constexpr DWORD kKnown = MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH;
    if (dwFlags & ~kKnown) return Fail(ERROR_INVALID_PARAMETER);
    // Writing through changes nothing here: every host rename is complete when it returns.
    return Move("MoveFileExA", lpExistingFileName, lpNewFileName, dwFlags);
}

BOOL WINAPI CreateHardLinkA(LPCSTR lpFileName, LPCSTR lpExistingFileName, LPSECURITY_ATTRIBUTES) {
    if (winsim::detail::FailsNow("CreateHardLinkA")) return FALSE;
    auto from = Existing(lpExistingFileName);
    if (!from) return FALSE;
    auto to = winsim::fs::Resolve(lpFileName);
    if (!to) return FALSE;
    if (from->isDirectory) return Fail(ERROR_ACCESS_DENIED);
    if (to->exists) return Fail(ERROR_ALREADY_EXISTS);
    if (from->drive != to->drive) return Fail(ERROR_NOT_SAME_DEVICE);
    std::error_code error;
    host::create_hard_link(from->hostPath, to->hostPath, error);
    if (error) return Fail(winsim::fs::HostError(error.value()));
    winsim::fs::Record("CreateHardLinkA", {to->windowsPath, from->windowsPath}, "TRUE", {to->hostPath});
    return TRUE;
}
