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

// Rewrites the names of a path on a drive before they are looked up, as WoW64 redirects the
// system folder. The system area installs it; Reset removes it.
using Redirection = void (*)(char drive, std::vector<std::string>& names);
void SetRedirection(Redirection redirection);

// Resolves a path case-insensitively, after the redirection. On failure sets the Windows error (2, 3, 123 ...) and
// gives nothing. wildcards: '*' and '?' are allowed in the last component.
std::optional<Location> Resolve(const char* path, bool wildcards = false);

// A file as the host knows it, whichever of its names leads there: hard links share one. The
// birth time tells a new file apart from a removed one whose inode number the host gave again.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t bornSeconds = 0;
    std::uint32_t bornNanoseconds = 0;
    auto operator<=>(const FileId&) const = default;
};
// Nothing when there is no such host entry; links, when given, gets the file's number of names.
std::optional<FileId> IdOf(const host::path& hostPath, std::uint64_t* links = nullptr);
std::optional<FileId> IdOf(int descriptor);

// Attributes as GetFileAttributesA reports them (NORMAL when none, DIRECTORY for folders). They
// belong to the file, so every hard link of it shows the same.
DWORD Attributes(const Location& at);
void SetAttributes(const Location& at, DWORD attributes);  // keeps only the settable bits
// A file made anew, or overwritten by CREATE_ALWAYS: these attributes and no reported size.
void RenewFile(const Location& at, DWORD attributes);
// The name is about to go; with its file's last name goes what winsim kept about the file.
void ForgetName(const host::path& hostPath);
// A copy takes the source file's attributes and reported size.
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
    FileId id;
    DWORD access = 0;
    DWORD share = 0;
};
void Register(const std::shared_ptr<OpenFile>& file);
// ERROR_SHARING_VIOLATION when an open of the file at hostPath with access and share conflicts
// with one still open, through whichever name; 0 otherwise, and for a path that leads nowhere.
DWORD SharingConflict(const host::path& hostPath, DWORD access, DWORD share);
bool IsOpen(const host::path& hostPath);

// Windows' code for a failed host operation.
DWORD HostError(int errnoValue);
void SetError(DWORD code);
std::int32_t LocalTimeOffsetMinutes();

// Adds a journal entry when the call changed drive C:. names: the names it made, removed or
// renamed, each recorded as it is now (a file, a folder of files, or gone). file: a file whose
// content or attributes it changed, recorded under each of its names on drive C:.
void Record(std::string call, std::vector<std::string> arguments, std::string result,
            std::vector<host::path> names, std::optional<FileId> file = std::nullopt);
// The host folder a drive letter leads to, if it is mapped.
std::optional<host::path> DriveFolder(char letter);
std::string Upper(std::string text);
std::string Hex(std::uint64_t value);

}  // namespace winsim::fs
