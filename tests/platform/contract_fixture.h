#pragma once
// The one place where the contract tests differ between winsim and the real Win32: where their
// scratch folder lives, how it is made and removed, and whether Wine answers.
// On Windows (and Wine) the folder is a fresh one under GetTempPathA; on winsim drive T: is
// mapped to a fresh host folder and the tests use "T:\...".
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/win32.h"

#ifndef _WIN32
#include <unistd.h>

#include <filesystem>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/files/files_control.h"
#endif

namespace contract {

constexpr DWORD kSentinel = 0xDEADBEEF;

// Wine is not Windows. Where it answers otherwise than Windows documents, a test says so by name
// in the output and checks what Wine does instead, so that a change either way shows.
inline bool UnderWine() {
#ifdef _WIN32
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

inline void NoteWineDeviation(const std::string& what) {
    std::printf("[ WINE DEVIATION ] %s\n", what.c_str());
    ::testing::Test::RecordProperty("wine_deviation", what);
}

class FileContract : public ::testing::Test {
 protected:
    void SetUp() override {
        static int serial = 0;
        std::string unique = "mvorbel-contract-" + std::to_string(Pid()) + "-" + std::to_string(++serial);
#ifdef _WIN32
        char temp[MAX_PATH + 1] = {};
        ASSERT_NE(0u, GetTempPathA(sizeof temp, temp));
        root_ = std::string(temp) + unique;
        ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr)) << "error " << GetLastError();
#else
        winsim::Reset();
        host_ = std::filesystem::temp_directory_path() / unique;
        std::filesystem::create_directories(host_);
        winsim::MapDrive('T', host_);
        root_ = "T:";
#endif
    }

    void TearDown() override {
#ifdef _WIN32
        RemoveTree(root_);
#else
        winsim::Reset();
        std::filesystem::remove_all(host_);
#endif
    }

    // The scratch folder's path joined with a name ("T:\name" or "C:\...\Temp\...\name").
    std::string Path(const std::string& name) const { return root_ + "\\" + name; }

    void MakeFolder(const std::string& name) {
#ifdef _WIN32
        ASSERT_TRUE(CreateDirectoryA(Path(name).c_str(), nullptr)) << "error " << GetLastError();
#else
        std::filesystem::create_directories(host_ / name);
#endif
    }

    // Writes a file through the API under test and gives it the attributes (0: leave as made).
    void MakeFile(const std::string& name, const std::string& content, DWORD attributes = 0) {
        HANDLE file = CreateFileA(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << name << ": error " << GetLastError();
        DWORD written = 0;
        EXPECT_TRUE(WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
        EXPECT_TRUE(CloseHandle(file));
        if (attributes != 0) {
            ASSERT_TRUE(SetFileAttributesA(Path(name).c_str(), attributes)) << "error " << GetLastError();
        }
    }

    // The whole content, or "<missing>" when the file can't be opened.
    std::string ReadAll(const std::string& name) {
        HANDLE file = CreateFileA(Path(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return "<missing>";
        std::string content;
        char chunk[512];
        DWORD got = 0;
        while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got != 0) content.append(chunk, got);
        CloseHandle(file);
        return content;
    }

 private:
    static unsigned long Pid() {
#ifdef _WIN32
        return GetCurrentProcessId();
#else
        return static_cast<unsigned long>(getpid());
#endif
    }

#ifdef _WIN32
    static void RemoveTree(const std::string& folder) {
        WIN32_FIND_DATAA found = {};
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::string name = found.cFileName;
                if (name == "." || name == "..") continue;
                std::string path = folder + "\\" + name;
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(path);
                } else {
                    DeleteFileA(path.c_str());
                }
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder.c_str());
    }
#else
    std::filesystem::path host_;
#endif

    std::string root_;
};

}  // namespace contract
