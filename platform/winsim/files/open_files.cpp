// CreateFileA, ReadFile, WriteFile and FlushFileBuffers over host file descriptors.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/winsim/files/file_system.h"

namespace {

using winsim::fs::Location;
using winsim::fs::OpenFile;
using winsim::fs::SetError;

constexpr DWORD kAttributeBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                 FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY;

std::string DispositionName(DWORD disposition) {
    switch (disposition) {
        case CREATE_NEW: return "CREATE_NEW";
        case CREATE_ALWAYS: return "CREATE_ALWAYS";
        case OPEN_EXISTING: return "OPEN_EXISTING";
        case OPEN_ALWAYS: return "OPEN_ALWAYS";
        case TRUNCATE_EXISTING: return "TRUNCATE_EXISTING";
        default: return std::to_string(disposition);
    }
}

// Why Windows refuses to open an existing file this way, or 0.
DWORD RefusalForExisting(const Location& at, DWORD access, DWORD disposition, DWORD attributes) {
    if (at.isDirectory) return ERROR_ACCESS_DENIED;
    DWORD existing = winsim::fs::Attributes(at);
    bool writes = (access & (GENERIC_WRITE | GENERIC_ALL)) != 0 || disposition == CREATE_ALWAYS ||
                  disposition == TRUNCATE_EXISTING;
    if (writes && (existing & FILE_ATTRIBUTE_READONLY)) return ERROR_ACCESS_DENIED;
    // Overwriting a hidden or system file must name those attributes again, or it is refused.
    if (disposition == CREATE_ALWAYS &&
        (((existing & FILE_ATTRIBUTE_HIDDEN) && !(attributes & FILE_ATTRIBUTE_HIDDEN)) ||
         ((existing & FILE_ATTRIBUTE_SYSTEM) && !(attributes & FILE_ATTRIBUTE_SYSTEM)))) {
        return ERROR_ACCESS_DENIED;
    }
    return 0;
}

std::shared_ptr<OpenFile> FileOf(HANDLE handle) {
    auto file = winsim::FindHandleOf<OpenFile>(handle);
    if (!file) SetError(ERROR_INVALID_HANDLE);
    return file;
}

}  // namespace

HANDLE WINAPI CreateFileA(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES, DWORD dwCreationDisposition,
                          DWORD dwFlagsAndAttributes, HANDLE) {
    if (winsim::detail::FailsNow("CreateFileA")) return INVALID_HANDLE_VALUE;
    if (dwCreationDisposition < CREATE_NEW || dwCreationDisposition > TRUNCATE_EXISTING) {
        SetError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    auto at = winsim::fs::Resolve(lpFileName);
    if (!at) return INVALID_HANDLE_VALUE;
    DWORD attributes = dwFlagsAndAttributes & kAttributeBits;
    bool existed = at->exists;
    if (existed) {
        if (dwCreationDisposition == CREATE_NEW) {
            SetError(ERROR_FILE_EXISTS);
            return INVALID_HANDLE_VALUE;
        }
        if (DWORD refusal = RefusalForExisting(*at, dwDesiredAccess, dwCreationDisposition, attributes)) {
            SetError(refusal);
            return INVALID_HANDLE_VALUE;
        }
    } else if (dwCreationDisposition == OPEN_EXISTING || dwCreationDisposition == TRUNCATE_EXISTING) {
        SetError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    } else if (at->isRoot) {
        SetError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if (DWORD conflict = winsim::fs::SharingConflict(at->hostPath, dwDesiredAccess, dwShareMode)) {
        SetError(conflict);
        return INVALID_HANDLE_VALUE;
    }
    bool truncates = dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == TRUNCATE_EXISTING;
    int flags = O_CLOEXEC | (existed ? 0 : O_CREAT | O_EXCL) | (truncates ? O_TRUNC : 0);
    flags |= (dwDesiredAccess & (GENERIC_WRITE | GENERIC_ALL)) || truncates ? O_RDWR : O_RDONLY;
    auto file = std::make_shared<OpenFile>();
    file->descriptor = open(at->hostPath.c_str(), flags, 0644);
    if (file->descriptor < 0) {
        SetError(winsim::fs::HostError(errno));
        return INVALID_HANDLE_VALUE;
    }
    file->hostPath = at->hostPath;
    file->windowsPath = at->windowsPath;
    file->id = winsim::fs::IdOf(file->descriptor).value_or(winsim::fs::FileId{});
    file->access = dwDesiredAccess;
    file->share = dwShareMode;
    if (!existed || dwCreationDisposition == CREATE_ALWAYS) {
        winsim::fs::RenewFile(*at, attributes | FILE_ATTRIBUTE_ARCHIVE);
    } else if (truncates) {
        winsim::fs::EndReportedSize(at->hostPath);
    }
    winsim::fs::Register(file);
    HANDLE handle = winsim::AddHandle(file);
    if (!existed || truncates) {
        winsim::fs::Record("CreateFileA", {at->windowsPath, DispositionName(dwCreationDisposition)},
                           winsim::fs::Hex(reinterpret_cast<ULONG_PTR>(handle)), {at->hostPath}, file->id);
    }
    // Opening a file that was there already tells so even though the call succeeds.
    bool toldExisting = existed && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS);
    SetError(toldExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPOVERLAPPED) {
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
    if (winsim::detail::FailsNow("ReadFile")) return FALSE;
    auto file = FileOf(hFile);
    if (!file) return FALSE;
    if (!(file->access & (GENERIC_READ | GENERIC_ALL))) {
        SetError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    ssize_t got = read(file->descriptor, lpBuffer, nNumberOfBytesToRead);
    if (got < 0) {
        SetError(winsim::fs::HostError(errno));
        return FALSE;
    }
    if (lpNumberOfBytesRead) *lpNumberOfBytesRead = static_cast<DWORD>(got);
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
                      LPOVERLAPPED) {
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
    if (winsim::detail::FailsNow("WriteFile")) return FALSE;
    auto file = FileOf(hFile);
    if (!file) return FALSE;
    if (!(file->access & (GENERIC_WRITE | GENERIC_ALL))) {
        SetError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    ssize_t put = write(file->descriptor, lpBuffer, nNumberOfBytesToWrite);
    if (put < 0) {
        SetError(winsim::fs::HostError(errno));
        return FALSE;
    }
    if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = static_cast<DWORD>(put);
    winsim::fs::EndReportedSize(file->hostPath);
    winsim::fs::Record("WriteFile", {file->windowsPath, std::to_string(put)}, "TRUE", {file->hostPath}, file->id);
    return TRUE;
}

BOOL WINAPI FlushFileBuffers(HANDLE hFile) {
    if (winsim::detail::FailsNow("FlushFileBuffers")) return FALSE;
    auto file = FileOf(hFile);
    if (!file) return FALSE;
    // Windows demands write access to flush; a handle opened for reading is refused.
    if (!(file->access & (GENERIC_WRITE | GENERIC_ALL))) {
        SetError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (fsync(file->descriptor) != 0) {
        SetError(winsim::fs::HostError(errno));
        return FALSE;
    }
    return TRUE;
}
