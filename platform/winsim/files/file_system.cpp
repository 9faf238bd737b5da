#include "platform/winsim/files/file_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <map>

namespace winsim::fs {
namespace {

constexpr DWORD kSettableAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
    FILE_ATTRIBUTE_TEMPORARY;
// 100-ns intervals between 1601-01-01 (FILETIME's epoch) and 1970-01-01.
constexpr std::uint64_t kUnixEpochAsFileTime = 116444736000000000ULL;

// What the host does not keep of a file. Files not listed have ARCHIVE and their true size.
struct FileRecord {
    DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
    std::optional<std::uint64_t> reportedSize;
};

struct FileState {
    std::map<char, host::path> drives;
    std::map<FileId, FileRecord> files;
    std::vector<std::weak_ptr<OpenFile>> openFiles;
    std::int32_t localOffsetMinutes = 0;
    Redirection redirection = nullptr;
};

FileState& State() {
    static FileState state;
    return state;
}

const bool resetRegistered = (OnReset([] { State() = FileState{}; }), true);

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool ValidName(const std::string& name, bool wildcards) {
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 32) return false;
        if (c == '<' || c == '>' || c == ':' || c == '"' || c == '|') return false;
        if ((c == '*' || c == '?') && !wildcards) return false;
    }
    return true;
}

// The entry of folder whose name equals name but for the case of A-Z, if any.
std::optional<host::path> FindEntry(const host::path& folder, const std::string& name) {
    std::error_code error;
    if (host::exists(folder / name, error)) return folder / name;
    std::string wanted = Upper(name);
    for (const auto& entry : host::directory_iterator(folder, error)) {
        if (Upper(entry.path().filename().string()) == wanted) return entry.path();
    }
    return std::nullopt;
}

}  // namespace

void SetRedirection(Redirection redirection) { State().redirection = redirection; }

std::optional<Location> Resolve(const char* path, bool wildcards) {
    if (path == nullptr || *path == '\0') {
        SetError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    std::string text(path);
    Location at;
    at.drive = 'C';  // the current directory is the root of C:
    std::size_t start = 0;
    if (text.size() >= 2 && text[1] == ':') {
        at.drive = UpperChar(text[0]);
        if (at.drive < 'A' || at.drive > 'Z') {
            SetError(ERROR_INVALID_NAME);
            return std::nullopt;
        }
        start = 2;
    } else if (text.size() >= 2 && IsSeparator(text[0]) && IsSeparator(text[1])) {
        SetError(ERROR_BAD_PATHNAME);  // UNC names lead off the machine
        return std::nullopt;
    }
    auto drive = State().drives.find(at.drive);
    if (drive == State().drives.end()) {
        SetError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    std::vector<std::string> parts;
    std::string part;
    for (std::size_t i = start; i <= text.size(); ++i) {
        if (i == text.size() || IsSeparator(text[i])) {
            if (part == "..") {
                if (!parts.empty()) parts.pop_back();
            } else if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
            part.clear();
        } else {
            part += text[i];
        }
    }
    if (State().redirection) State().redirection(at.drive, parts);
    at.hostPath = drive->second;
    at.windowsPath = std::string(1, at.drive) + ":";
    if (parts.empty()) {
        at.windowsPath += "\\";
        at.exists = at.isDirectory = at.isRoot = true;
        return at;
    }
    for (std::size_t i = 0; i < parts.size(); ++i) {
        bool last = i + 1 == parts.size();
        if (!ValidName(parts[i], wildcards && last)) {
            SetError(ERROR_INVALID_NAME);
            return std::nullopt;
        }
        std::optional<host::path> found;
        if (!last || parts[i].find_first_of("*?") == std::string::npos) found = FindEntry(at.hostPath, parts[i]);
        std::error_code error;
        if (!last) {
            if (!found || !host::is_directory(*found, error)) {
                SetError(ERROR_PATH_NOT_FOUND);
                return std::nullopt;
            }
            at.hostPath = *found;
        } else {
            at.exists = found.has_value();
            at.hostPath = found ? *found : at.hostPath / parts[i];
            at.isDirectory = found && host::is_directory(*found, error);
        }
        at.name = at.hostPath.filename().string();
        at.windowsPath += "\\" + at.name;
    }
    return at;
}

FileId IdFrom(const struct statx& info) {
    FileId id;
    id.device = (std::uint64_t{info.stx_dev_major} << 32) | info.stx_dev_minor;
    id.inode = info.stx_ino;
    if (info.stx_mask & STATX_BTIME) {
        id.bornSeconds = info.stx_btime.tv_sec;
        id.bornNanoseconds = info.stx_btime.tv_nsec;
    }
    return id;
}

std::optional<FileId> IdOf(const host::path& hostPath, std::uint64_t* links) {
    struct statx info {};
    if (statx(AT_FDCWD, hostPath.c_str(), 0, STATX_INO | STATX_NLINK | STATX_BTIME, &info) != 0) return std::nullopt;
    if (links != nullptr) *links = info.stx_nlink;
    return IdFrom(info);
}

std::optional<FileId> IdOf(int descriptor) {
    struct statx info {};
    if (statx(descriptor, "", AT_EMPTY_PATH, STATX_INO | STATX_BTIME, &info) != 0) return std::nullopt;
    return IdFrom(info);
}

std::string Upper(std::string text) {
    for (char& c : text) c = UpperChar(c);
    return text;
}

DWORD Attributes(const Location& at) {
    auto& files = State().files;
    auto id = IdOf(at.hostPath);
    auto found = id ? files.find(*id) : files.end();
    if (at.isDirectory) return (found != files.end() ? found->second.attributes : 0) | FILE_ATTRIBUTE_DIRECTORY;
    DWORD attributes = found != files.end() ? found->second.attributes : FILE_ATTRIBUTE_ARCHIVE;
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

void SetAttributes(const Location& at, DWORD attributes) {
    if (auto id = IdOf(at.hostPath)) State().files[*id].attributes = attributes & kSettableAttributes;
}

void RenewFile(const Location& at, DWORD attributes) {
    if (auto id = IdOf(at.hostPath)) State().files[*id] = FileRecord{attributes & kSettableAttributes, {}};
}

void ForgetName(const host::path& hostPath) {
    std::uint64_t links = 0;
    auto id = IdOf(hostPath, &links);
    if (id && links <= 1) State().files.erase(*id);
}

void CopyRecord(const host::path& from, const host::path& to) {
    auto& files = State().files;
    auto source = IdOf(from), target = IdOf(to);
    if (!source || !target || source == target) return;
    auto found = files.find(*source);
    files[*target] = found != files.end() ? found->second : FileRecord{};
}

std::uint64_t ReportedSize(const host::path& hostPath) {
    auto& files = State().files;
    auto id = IdOf(hostPath);
    if (auto found = id ? files.find(*id) : files.end(); found != files.end() && found->second.reportedSize) {
        return *found->second.reportedSize;
    }
    std::error_code error;
    auto size = host::file_size(hostPath, error);
    return error ? 0 : size;
}

void EndReportedSize(const host::path& hostPath) {
    auto& files = State().files;
    auto id = IdOf(hostPath);
    if (auto found = id ? files.find(*id) : files.end(); found != files.end()) found->second.reportedSize.reset();
}

FILETIME LastWriteTime(const host::path& hostPath) {
    struct stat info {};
    if (stat(hostPath.c_str(), &info) != 0) return FILETIME{0, 0};
    std::uint64_t ticks = kUnixEpochAsFileTime + static_cast<std::uint64_t>(info.st_mtim.tv_sec) * 10000000ULL +
                          static_cast<std::uint64_t>(info.st_mtim.tv_nsec) / 100;
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

void SetHostLastWriteTime(const host::path& hostPath, FILETIME time) {
    std::int64_t ticks = static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime) -
                         static_cast<std::int64_t>(kUnixEpochAsFileTime);
    std::int64_t seconds = ticks / 10000000;
    std::int64_t rest = ticks % 10000000;
    if (rest < 0) {
        rest += 10000000;
        --seconds;
    }
    timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), static_cast<long>(rest * 100)}};
    utimensat(AT_FDCWD, hostPath.c_str(), times, 0);
}

OpenFile::~OpenFile() {
    if (descriptor >= 0) close(descriptor);
}

void Register(const std::shared_ptr<OpenFile>& file) {
    auto& open = State().openFiles;
    std::erase_if(open, [](const auto& weak) { return weak.expired(); });
    open.push_back(file);
}

DWORD SharingConflict(const host::path& hostPath, DWORD access, DWORD share) {
    auto id = IdOf(hostPath);
    if (!id) return 0;
    auto wants = [](DWORD access, DWORD bits) { return (access & bits) != 0; };
    constexpr DWORD kRead = GENERIC_READ | GENERIC_ALL;
    constexpr DWORD kWrite = GENERIC_WRITE | GENERIC_ALL;
    constexpr DWORD kDelete = DELETE | GENERIC_ALL;
    for (const auto& weak : State().openFiles) {
        auto other = weak.lock();
        if (!other || other->id != *id) continue;
        if ((wants(access, kRead) && !(other->share & FILE_SHARE_READ)) ||
            (wants(access, kWrite) && !(other->share & FILE_SHARE_WRITE)) ||
            (wants(access, kDelete) && !(other->share & FILE_SHARE_DELETE)) ||
            (wants(other->access, kRead) && !(share & FILE_SHARE_READ)) ||
            (wants(other->access, kWrite) && !(share & FILE_SHARE_WRITE)) ||
            (wants(other->access, kDelete) && !(share & FILE_SHARE_DELETE))) {
            return ERROR_SHARING_VIOLATION;
        }
    }
    return 0;
}

bool IsOpen(const host::path& hostPath) {
    auto id = IdOf(hostPath);
    for (const auto& weak : State().openFiles) {
        if (auto other = weak.lock(); other && id && other->id == *id) return true;
    }
    return false;
}

DWORD HostError(int errnoValue) {
    switch (errnoValue) {
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EISDIR: return ERROR_ACCESS_DENIED;
        case EEXIST: return ERROR_ALREADY_EXISTS;
        case ENOSPC: return ERROR_DISK_FULL;
        case EMFILE:
        case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
        case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
        case EXDEV: return ERROR_NOT_SAME_DEVICE;
        default: return ERROR_GEN_FAILURE;
    }
}

void SetError(DWORD code) { SetLastError(code); }

std::int32_t LocalTimeOffsetMinutes() { return State().localOffsetMinutes; }

std::optional<host::path> DriveFolder(char letter) {
    auto& drives = State().drives;
    auto found = drives.find(UpperChar(letter));
    return found == drives.end() ? std::nullopt : std::optional(found->second);
}

std::string Hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

}  // namespace winsim::fs

namespace winsim {

void MapDrive(char letter, const std::filesystem::path& hostFolder) {
    fs::State().drives[fs::UpperChar(letter)] = std::filesystem::absolute(hostFolder);
}

void UnmapDrive(char letter) { fs::State().drives.erase(fs::UpperChar(letter)); }

std::filesystem::path HostPath(const std::string& windowsPath) {
    DWORD saved = GetLastError();
    auto at = fs::Resolve(windowsPath.c_str());
    SetLastError(saved);
    return at ? at->hostPath : std::filesystem::path();
}

bool SetLastWriteTime(const std::string& windowsPath, FILETIME time) {
    auto path = HostPath(windowsPath);
    if (path.empty() || !std::filesystem::exists(path)) return false;
    fs::SetHostLastWriteTime(path, time);
    return true;
}

bool SetReportedSize(const std::string& windowsPath, std::uint64_t size) {
    auto path = HostPath(windowsPath);
    auto id = fs::IdOf(path);
    if (!id || !std::filesystem::is_regular_file(path)) return false;
    fs::State().files[*id].reportedSize = size;
    return true;
}

void SetLocalTimeOffset(std::int32_t minutes) { fs::State().localOffsetMinutes = minutes; }

}  // namespace winsim
