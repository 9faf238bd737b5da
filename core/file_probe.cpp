#include "core/platform_utils.h"
#include "platform/win32.h"

namespace mvorbel {
namespace {

// A FindFirstFileA search, closed with FindClose.
class FindHandle {
 public:
    FindHandle(const char* path, WIN32_FIND_DATAA* found) : handle_(FindFirstFileA(path, found)) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() {
        if (Found()) FindClose(handle_);
    }
    bool Found() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
    HANDLE handle_;
};

}  // namespace

bool FileIsPresent(const char* path) {
    WIN32_FIND_DATAA found = {};
    {
        FindHandle search(path, &found);
        if (!search.Found()) return false;
    }
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    // A time that a packed DOS date can't hold (before 1980, after 2107) makes the conversion
    // fail: such an entry is not taken for a file that is there.
    FILETIME local = {};
    WORD date = 0;
    WORD time = 0;
    return FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time);
}

std::uint64_t FindFileSize(const char* path) {
    WIN32_FIND_DATAA found = {};
    FindHandle search(path, &found);
    if (!search.Found()) return 0;
    return (std::uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
}

}  // namespace mvorbel
