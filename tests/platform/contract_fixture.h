#pragma once
// What the contract tests share, and the one place where they differ between winsim and the real
// Win32: a scratch folder (drive T: mapped to a fresh host folder on winsim, a fresh folder under
// GetTempPathA on Windows), a child process to terminate, and a window class that logs messages.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32.h"

#ifndef _WIN32
#include <unistd.h>

#include <filesystem>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/files/files_control.h"
#include "platform/winsim/system/system_control.h"
#endif

namespace contract {

constexpr DWORD kSentinel = 0xDEADBEEF;

inline bool UnderWine() {
#ifdef _WIN32
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

// Wine is not Windows: where it answers otherwise, the row names the difference, and under Wine
// the check is of Wine's answer, so that a change either way shows.
struct Refusal {
    std::string what;
    std::function<BOOL()> call;
    DWORD error;
    const char* wineDeviation = nullptr;
    DWORD wineError = 0;  // with a deviation: Wine's last error, 0 when Wine succeeds instead
};

inline void NoteWineDeviation(const std::string& what) {
    std::printf("[ WINE DEVIATION ] %s\n", what.c_str());
    ::testing::Test::RecordProperty("wine_deviation", what);
}

inline void ExpectRefusals(const std::vector<Refusal>& rows) {
    for (const auto& row : rows) {
        SetLastError(kSentinel);
        BOOL done = row.call();
        DWORD error = GetLastError();
        bool asWindows = !done && error == row.error;
        if (row.wineDeviation != nullptr && UnderWine() && !asWindows) {
            NoteWineDeviation(row.wineDeviation);
            EXPECT_EQ(row.wineError == 0, done != FALSE) << row.what;
            if (row.wineError != 0) {
                EXPECT_EQ(row.wineError, error) << row.what;
            }
            continue;
        }
        EXPECT_FALSE(done) << row.what;
        EXPECT_EQ(row.error, error) << row.what << ": got " << error;
    }
}

inline unsigned long Pid() {
#ifdef _WIN32
    return GetCurrentProcessId();
#else
    return static_cast<unsigned long>(getpid());
#endif
}

// A clean winsim for every test; nothing to do on Windows.
class Contract : public ::testing::Test {
 protected:
    void SetUp() override {
#ifndef _WIN32
        winsim::Reset();
#endif
    }
    void TearDown() override {
#ifndef _WIN32
        winsim::Reset();
#endif
    }
};

class FileContract : public Contract {
 protected:
    void SetUp() override {
        Contract::SetUp();
        static int serial = 0;
        std::string unique = "mvorbel-contract-" + std::to_string(Pid()) + "-" + std::to_string(++serial);
#ifdef _WIN32
        char temp[MAX_PATH + 1] = {};
        ASSERT_NE(0u, GetTempPathA(sizeof temp, temp));
        root_ = std::string(temp) + unique;
        ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr)) << "error " << GetLastError();
#else
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
        Contract::TearDown();
        std::filesystem::remove_all(host_);
#endif
    }

    std::string Path(const std::string& name) const { return root_ + "\\" + name; }
    DWORD Attributes(const std::string& name) const { return GetFileAttributesA(Path(name).c_str()); }

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
            ASSERT_TRUE(SetFileAttributesA(Path(name).c_str(), attributes));
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
#ifdef _WIN32
    static void RemoveTree(const std::string& folder) {
        WIN32_FIND_DATAA found = {};
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        while (search != INVALID_HANDLE_VALUE) {
            std::string name = found.cFileName, path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA(path.c_str());
            else if (name != "." && name != "..") RemoveTree(path);
            if (!FindNextFileA(search, &found)) break;
        }
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
        RemoveDirectoryA(folder.c_str());
    }
#else
    std::filesystem::path host_;
#endif
    std::string root_;
};

// A process that does nothing until it is terminated: a suspended copy of this program on
// Windows (it never runs a line of its own), a table entry on winsim.
class ChildProcess {
 public:
    ChildProcess() {
#ifdef _WIN32
        char path[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, path, sizeof path);
        std::string commandLine = std::string("\"") + path + "\"";
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION info = {};
        if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                           nullptr, &startup, &info)) {
            CloseHandle(info.hThread);
            process_ = info.hProcess;
            pid_ = info.dwProcessId;
        }
#else
        pid_ = 4000;
        winsim::AddProcess({pid_, "child.exe", GetCurrentProcessId()});
#endif
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() {
#ifdef _WIN32
        if (process_) {
            TerminateProcess(process_, 1);
            CloseHandle(process_);
        }
#endif
    }

    DWORD Pid() const { return pid_; }

    // Whether it has ended, and with which exit code; Windows ends a process asynchronously.
    bool Ended(DWORD* exitCode) const {
#ifdef _WIN32
        if (WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) return false;
        return GetExitCodeProcess(process_, exitCode) != FALSE;
#else
        for (const auto& process : winsim::Processes())
            if (process.pid == pid_) return false;
        for (const auto& request : winsim::Requests())
            if (request.call == "TerminateProcess" && request.args[0] == std::to_string(pid_))
                *exitCode = static_cast<DWORD>(std::stoul(request.args[1]));
        return true;
#endif
    }

 private:
#ifdef _WIN32
    HANDLE process_ = nullptr;
#endif
    DWORD pid_ = 0;
};

inline std::vector<UINT>& MessageLog() {
    static std::vector<UINT> log;
    return log;
}

inline LRESULT CALLBACK LoggingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageLog().push_back(message);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Position of the first logged `message`, or -1.
inline int IndexOf(UINT message) {
    const auto& log = MessageLog();
    for (std::size_t i = 0; i < log.size(); ++i)
        if (log[i] == message) return static_cast<int>(i);
    return -1;
}

class UiContract : public Contract {
 protected:
    void SetUp() override {
        Contract::SetUp();
        static int serial = 0;
        className_ = "mvorbel_contract_" + std::to_string(++serial);
        instance_ = GetModuleHandleA(nullptr);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = LoggingProc;
        wc.hInstance = instance_;
        wc.lpszClassName = className_.c_str();
        ASSERT_NE(0, RegisterClassA(&wc)) << "error " << GetLastError();
        Drain();
        MessageLog().clear();
    }

    void TearDown() override {
        for (HWND hwnd : windows_)
            if (IsWindow(hwnd)) DestroyWindow(hwnd);
        Drain();
        UnregisterClassA(className_.c_str(), instance_);
        Contract::TearDown();
    }

    // The Main window's style: caption, system menu, sizing frame, both boxes, clipping; hidden.
    static constexpr DWORD kHiddenForm = 0x06CF0000;

    HWND Create(DWORD style = kHiddenForm, DWORD exStyle = 0) {
        HWND hwnd = CreateWindowExA(exStyle, className_.c_str(), "mVorbel", style, 205, 98, 188, 127, nullptr,
                                    nullptr, instance_, nullptr);
        if (hwnd) windows_.push_back(hwnd);
        return hwnd;
    }

    // Empties the queue (the quit flag included), dispatching whatever the system put there.
    static void Drain() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT) DispatchMessageA(&msg);
    }

    std::string className_;
    HINSTANCE instance_ = nullptr;
    std::vector<HWND> windows_;
};

}  // namespace contract
