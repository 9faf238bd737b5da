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

struct FileState {
    std::map<char, host::path> drives;
    std::map<std::string, DWORD> attributes;  // by host path; files not listed have ARCHIVE
    std::map<std::string, std::uint64_t> reportedSizes;
    std::vector<std::weak_ptr<OpenFile>> openFiles;
    std::vector<JournalEntry> journal;
    std::int32_t localOffsetMinutes = 0;
};

FileState& State() {
    static FileState state;
    return state;
}

const bool resetRegistered = (OnReset([] { State() = FileState{}; }), true);

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string Upper(std::string text) {
    for (char& c : text) c = UpperChar(c);
    return text;
}

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

void Snapshot(const host::path& root, std::map<std::string, FileSnapshot>& files) {
    std::error_code error;
    for (const auto& entry : host::recursive_directory_iterator(root, error)) {
        if (!entry.is_regular_file(error)) continue;
        FileSnapshot file;
        file.path = "C:";
        for (const auto& part : host::relative(entry.path(), root)) file.path += "\\" + part.string();
        if (std::FILE* stream = std::fopen(entry.path().c_str(), "rb")) {
            char chunk[4096];
            std::size_t got;
            while ((got = std::fread(chunk, 1, sizeof chunk, stream)) > 0) file.content.append(chunk, got);
            std::fclose(stream);
        }
        Location at;
        at.hostPath = entry.path();
        at.exists = true;
        file.attributes = Attributes(at);
        files[Upper(file.path)] = std::move(file);
    }
}

}  // namespace

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

DWORD Attributes(const Location& at) {
    auto& table = State().attributes;
    auto found = table.find(at.hostPath.string());
    DWORD attributes = found != table.end() ? found->second : (at.isDirectory ? 0 : FILE_ATTRIBUTE_ARCHIVE);
    if (at.isDirectory) return attributes | FILE_ATTRIBUTE_DIRECTORY;
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

void SetAttributes(const Location& at, DWORD attributes) {
    State().attributes[at.hostPath.string()] = attributes & kSettableAttributes;
}

void ForgetFile(const host::path& hostPath) {
    State().attributes.erase(hostPath.string());
    State().reportedSizes.erase(hostPath.string());
}

void MoveRecord(const host::path& from, const host::path& to) {
    CopyRecord(from, to);
    if (from != to) ForgetFile(from);
}

void CopyRecord(const host::path& from, const host::path& to) {
    auto& state = State();
    if (from == to) return;
    ForgetFile(to);
    if (auto found = state.attributes.find(from.string()); found != state.attributes.end()) {
        state.attributes[to.string()] = found->second;
    }
    if (auto found = state.reportedSizes.find(from.string()); found != state.reportedSizes.end()) {
        state.reportedSizes[to.string()] = found->second;
    }
}

std::uint64_t ReportedSize(const host::path& hostPath) {
    auto& sizes = State().reportedSizes;
    if (auto found = sizes.find(hostPath.string()); found != sizes.end()) return found->second;
    std::error_code error;
    auto size = host::file_size(hostPath, error);
    return error ? 0 : size;
}

void EndReportedSize(const host::path& hostPath) { State().reportedSizes.erase(hostPath.string()); }

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
    auto wants = [](DWORD access, DWORD bits) { return (access & bits) != 0; };
    constexpr DWORD kRead = GENERIC_READ | GENERIC_ALL;
    constexpr DWORD kWrite = GENERIC_WRITE | GENERIC_ALL;
    constexpr DWORD kDelete = DELETE | GENERIC_ALL;
    for (const auto& weak : State().openFiles) {
        auto other = weak.lock();
        if (!other || other->hostPath != hostPath) continue;
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
    for (const auto& weak : State().openFiles) {
        if (auto other = weak.lock(); other && other->hostPath == hostPath) return true;
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

void Record(bool onDriveC, std::string call, std::vector<std::string> arguments, std::string result) {
    auto& state = State();
    auto drive = state.drives.find('C');
    if (!onDriveC || drive == state.drives.end()) return;
    JournalEntry entry{std::move(call), std::move(arguments), std::move(result), {}};
    Snapshot(drive->second, entry.driveC);
    state.journal.push_back(std::move(entry));
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
    if (path.empty() || !std::filesystem::is_regular_file(path)) return false;
    fs::State().reportedSizes[path.string()] = size;
    return true;
}

void SetLocalTimeOffset(std::int32_t minutes) { fs::State().localOffsetMinutes = minutes; }



const FileSnapshot* JournalEntry::Find(const std::string& windowsPath) const {
    auto found = driveC.find(fs::Upper(windowsPath));
    return found == driveC.end() ? nullptr : &found->second;
}

const std::vector<JournalEntry>& FileJournal() { return fs::State().journal; }

void ClearFileJournal() { fs::State().journal.clear(); }

}  // namespace winsim
