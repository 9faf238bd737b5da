// FindFirstFileA, FindNextFileA and FindClose over a listing taken when the search starts.
#include <algorithm>
#include <cstring>

#include "platform/winsim/files/file_system.h"

namespace {

namespace host = std::filesystem;
using winsim::fs::SetError;

struct Search : winsim::KernelObject {
    std::vector<WIN32_FIND_DATAA> found;
    std::size_t next = 0;
};

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// '*' any run, '?' any one character, letters A-Z in either case.
bool Matches(const char* pattern, const char* name) {
    if (*pattern == '\0') return *name == '\0';
    if (*pattern == '*') return Matches(pattern + 1, name) || (*name != '\0' && Matches(pattern, name + 1));
    if (*name == '\0') return false;
    return (*pattern == '?' || Upper(*pattern) == Upper(*name)) && Matches(pattern + 1, name + 1);
}

bool MatchesName(const std::string& pattern, const std::string& name) {
    // "*.*" is the old way of saying every name, those without a dot included.
    if (pattern == "*.*") return true;
    return Matches(pattern.c_str(), name.c_str());
}

WIN32_FIND_DATAA Describe(const winsim::fs::Location& at, const std::string& shownName) {
    WIN32_FIND_DATAA data{};
    data.dwFileAttributes = winsim::fs::Attributes(at);
    data.ftLastWriteTime = winsim::fs::LastWriteTime(at.hostPath);
    data.ftCreationTime = data.ftLastAccessTime = data.ftLastWriteTime;
    if (!at.isDirectory) {
        std::uint64_t size = winsim::fs::ReportedSize(at.hostPath);
        data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
        data.nFileSizeLow = static_cast<DWORD>(size);
    }
    std::strncpy(data.cFileName, shownName.c_str(), MAX_PATH - 1);
    return data;
}

}  // namespace

HANDLE WINAPI FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData) {
    if (winsim::detail::FailsNow("FindFirstFileA")) return INVALID_HANDLE_VALUE;
    auto at = winsim::fs::Resolve(lpFileName, true);
    if (!at) return INVALID_HANDLE_VALUE;
    if (at->isRoot) {
        SetError(ERROR_FILE_NOT_FOUND);  // the root itself has no entry to describe
        return INVALID_HANDLE_VALUE;
    }
    auto search = std::make_shared<Search>();
    host::path folder = at->hostPath.parent_path();
    std::string pattern = at->hostPath.filename().string();
    std::vector<std::pair<std::string, winsim::fs::Location>> entries;
    // Every folder but a drive's root lists itself and its parent first.
    if (winsim::HostPath(std::string(1, at->drive) + ":\\") != folder) {
        winsim::fs::Location dot{at->drive, folder, "", ".", true, true, false};
        entries.push_back({".", dot});
        entries.push_back({"..", dot});
    }
    std::error_code error;
    std::vector<std::pair<std::string, winsim::fs::Location>> listed;
    for (const auto& entry : host::directory_iterator(folder, error)) {
        winsim::fs::Location item{at->drive, entry.path(), "", entry.path().filename().string(), true,
                                  entry.is_directory(error), false};
        listed.push_back({item.name, item});
    }
    std::sort(listed.begin(), listed.end(), [](const auto& a, const auto& b) {
        std::string x = a.first, y = b.first;
        for (char& c : x) c = Upper(c);
        for (char& c : y) c = Upper(c);
        return x < y;
    });
    entries.insert(entries.end(), listed.begin(), listed.end());
    for (const auto& [name, item] : entries) {
        if (MatchesName(pattern, name)) search->found.push_back(Describe(item, name));
    }
    if (search->found.empty()) {
        SetError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    *lpFindFileData = search->found[search->next++];
    return winsim::AddHandle(search);
}

BOOL WINAPI FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData) {
    if (winsim::detail::FailsNow("FindNextFileA")) return FALSE;
    auto search = winsim::FindHandleOf<Search>(hFindFile);
    if (!search) {
        SetError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (search->next == search->found.size()) {
        SetError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    *lpFindFileData = search->found[search->next++];
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE hFindFile) {
    if (winsim::detail::FailsNow("FindClose")) return FALSE;
    if (!winsim::FindHandleOf<Search>(hFindFile)) {
        SetError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    winsim::RemoveHandle(hFindFile);
    return TRUE;
}
