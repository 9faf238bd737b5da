#pragma once
// winsim's file system underneath the API: drives, path resolution against the host folders,
// the attribute table, open files and their sharing, and the journal. Internal to winsim.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/files/files_control.h"

namespace winsim::fs {

namespace host = std::filesystem;

// Where a Windows path leads on the host.
struct Location {
    char drive = 0;           // 'A'..'Z'
    host::path hostPath;      // the existing host entry, or where a new one would go
    std::string windowsPath;  // "C:\Dir\Name" spelled as on the drive where it exists
    std::string name;         // last component (may hold wildcards when they were allowed)
    bool exists = false;
    bool isDirectory = false;
    bool isRoot = false;
};

// Resolves a path case-insensitively. On failure sets the Windows error (2, 3, 123 ...) and
// gives nothing. wildcards: '*' and '?' are allowed in the last component.
std::optional<Location> Resolve(const char* path, bool wildcards = false);

// Attributes as GetFileAttributesA reports them (NORMAL when none, DIRECTORY for folders).
DWORD Attributes(const Location& at);
void SetAttributes(const Location& at, DWORD attributes);  // keeps only the settable bits
void ForgetFile(const host::path& hostPath);
void MoveRecord(const host::path& from, const host::path& to);
void CopyRecord(const host::path& from, const host::path& to);

std::uint64_t ReportedSize(const host::path& hostPath);
void EndReportedSize(const host::path& hostPath);

FILETIME LastWriteTime(const host::path& hostPath);
void SetHostLastWriteTime(const host::path& hostPath, FILETIME time);

// An open file, owned by its handle; sharing is checked against every one still open.
struct OpenFile : KernelObject {
    ~OpenFile() override;
    int descriptor = -1;
    host::path hostPath;
    std::string windowsPath;
    char drive = 0;
    DWORD access = 0;
    DWORD share = 0;
};
void Register(const std::shared_ptr<OpenFile>& file);
// ERROR_SHARING_VIOLATION when an open of hostPath with access and share conflicts with one of
// the files still open; 0 otherwise.
DWORD SharingConflict(const host::path& hostPath, DWORD access, DWORD share);
bool IsOpen(const host::path& hostPath);

// Windows' code for a failed host operation.
DWORD HostError(int errnoValue);
void SetError(DWORD code);
std::int32_t LocalTimeOffsetMinutes();

// Adds a journal entry when the call touched drive C:.
void Record(bool onDriveC, std::string call, std::vector<std::string> arguments, std::string result);
std::string Hex(std::uint64_t value);


}  // namespace winsim::fs
