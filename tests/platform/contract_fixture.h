#pragma once
// What the contract tests share, and the one place where they differ between winsim and the real
// Win32: a scratch folder (drive T: mapped to a fresh host folder on winsim, a fresh folder under
// the temporary folder on Windows), a scratch registry key, a program to start, and a window
// class that logs messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/support/temp_folder.h"

#ifndef _WIN32
#include "platform/winsim/base/base_control.h"
#include "platform/winsim/files/files_control.h"
#include "platform/winsim/system/registry_control.h"
#include "platform/winsim/system/system_control.h"
#include "platform/winsim/ui/ui_control.h"
#endif

namespace contract {

constexpr DWORD kSentinel = 0xDEADBEEF;

#ifdef _WIN32
inline bool UnderWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }
#else
inline bool UnderWine() { return false; }
#endif

// Wine is not Windows: where it answers otherwise, the row names the difference, and under Wine
// the check is of Wine's answer, so that a change either way shows. A call answering with a
// handle, a pointer or a count is refused when it gives none.
struct Refusal {
    std::string what;
    std::function<bool()> call;
    DWORD error;
    const char* wineDeviation = nullptr;
    DWORD wineError = 0;  // with a deviation: Wine's last error, 0 when Wine succeeds instead
};

using WideText = std::basic_string<WCHAR>;

// UTF-16 of a text the tests spell in UTF-8, through the platform's own converter.
inline WideText Wide(const std::string& utf8) {
    WideText wide(utf8.size(), 0);
    int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), int(wide.size()));
    wide.resize(units > 0 ? std::size_t(units) : 0);
    return wide;
}
inline void NoteWineDeviation(const std::string& what) {
    std::printf("[ WINE DEVIATION ] %s\n", what.c_str());
}

inline void ExpectRefusals(const std::vector<Refusal>& rows) {
    for (const auto& row : rows) {
        SetLastError(kSentinel);
        bool done = row.call();
        DWORD error = GetLastError();
        bool wine = row.wineDeviation != nullptr && UnderWine() && (done || error != row.error);
        if (wine) NoteWineDeviation(row.wineDeviation);
        DWORD expected = wine ? row.wineError : row.error;
        EXPECT_TRUE(wine && expected == 0 ? done : !done && error == expected)
            << row.what << (done ? ": done" : ": refused") << ", error " << error;
    }
}

// A clean winsim for every test; nothing to do on Windows.
class Contract : public ::testing::Test {
 protected:
    void SetUp() override {
#ifndef _WIN32
        winsim::Reset();
#endif
    }
};

// A scratch drive whose files are made, opened and read as the product's writer and reader do:
// sharing reading only.
class FileContract : public Contract {
 protected:
    void SetUp() override {
        Contract::SetUp();
#ifdef _WIN32
        root_ = host_.string();
#else
        winsim::MapDrive('T', host_);
        root_ = "T:";
#endif
    }

    std::string Path(const std::string& name) const { return root_ + "\\" + name; }
    DWORD Attributes(const std::string& name) const { return GetFileAttributesA(Path(name).c_str()); }

    HANDLE Open(const std::string& name, DWORD access, DWORD disposition,
                DWORD attributes = FILE_ATTRIBUTE_NORMAL) const {
        return CreateFileA(Path(name).c_str(), access, FILE_SHARE_READ, nullptr, disposition, attributes, nullptr);
    }

    void MakeFile(const std::string& name, const std::string& content, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        HANDLE file = Open(name, GENERIC_WRITE, CREATE_NEW, attributes);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << name << ": error " << GetLastError();
        DWORD written = 0;
        EXPECT_TRUE(WriteFile(file, content.data(), DWORD(content.size()), &written, nullptr) && FlushFileBuffers(file))
            << name << ": error " << GetLastError();
        EXPECT_TRUE(CloseHandle(file)) << name;
    }

    // The content of a file, read to its end as the product's reader does, or "<missing>" when it
    // can't be opened.
    std::string ReadAll(const std::string& name) const {
        HANDLE file = Open(name, GENERIC_READ, OPEN_EXISTING);
        if (file == INVALID_HANDLE_VALUE) return "<missing>";
        std::string content;
        char buffer[512];
        DWORD got = 0;
        BOOL read = FALSE;
        while ((read = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) content.append(buffer, got);
        EXPECT_TRUE(read) << name << ": the end reads as success with nothing, error " << GetLastError();
        CloseHandle(file);
        return content;
    }

    mvorbel::testing::TempFolder folder_{"mvorbel-contract"};
    const std::filesystem::path host_ = folder_.Path();
    std::string root_;
};

// The registry rows read under a scratch key, HKCU\Software\mVorbel-contract-test, emptied
// before and after each test. Windows arranges it with its own calls, winsim with its control.
class RegistryContract : public Contract {
 protected:
    void SetUp() override {
        Contract::SetUp();
        TearDown();
    }
    // winsim's registry is empty after every reset.
    void TearDown() override {
#ifdef _WIN32
        RegDeleteTreeW(HKEY_CURRENT_USER, Wide(kScratch).c_str());
#endif
    }

    static constexpr const char* kScratch = "Software\\mVorbel-contract-test";

    // A value of the key at `path` below the scratch key, the key made as needed.
    static void PutValue(const std::string& path, const std::string& name, DWORD type, std::vector<BYTE> data) {
        const std::string key = std::string(kScratch) + "\\" + path;
#ifdef _WIN32
        HKEY made = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, Wide(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                                 nullptr, &made, nullptr))
            << key;
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(made, Wide(name).c_str(), 0, type, data.data(), DWORD(data.size())))
            << key << ", " << name;
        RegCloseKey(made);
#else
        winsim::SetRegistryValue("HKEY_CURRENT_USER\\" + key, name, {type, std::move(data)});
#endif
    }

    // Registry data of a text spelled in UTF-8, its terminators included: UTF-16LE, as both hosts
    // store it.
    static std::vector<BYTE> Bytes(const std::string& utf8) {
        const WideText units = Wide(utf8);
        const auto* at = reinterpret_cast<const BYTE*>(units.data());
        return {at, at + units.size() * sizeof(WCHAR)};
    }
};

// The process rows start a small program of their own: with "/hang" it waits to be terminated,
// otherwise it ends at once. On Windows it is tests/support/contract_child.cpp, built beside this
// program; on winsim an image on the scratch drive whose behaviour reads its command line as the
// child does.
class ProcessContract : public FileContract {
 protected:
    void SetUp() override {
        FileContract::SetUp();
#ifdef _WIN32
        char own[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, own, sizeof own);
        child_ = std::string(own).substr(0, std::string(own).find_last_of('\\')) + "\\contract_child.exe";
#else
        MakeFile("contract_child.exe", "MZ");
        child_ = Path("contract_child.exe");
        winsim::SetProgramBehaviour("contract_child.exe", [](const std::string& commandLine) {
            return commandLine.ends_with(" /hang") ? winsim::Hangs() : winsim::ExitsWith(0);
        });
#endif
    }

    // Starts the child as the product starts a program: by its path, with its path quoted first
    // on the command line, without a console window, hidden.
    BOOL Start(const std::string& image, const std::string& arguments, PROCESS_INFORMATION& started) const {
        std::string commandLine = "\"" + image + "\" " + arguments;
        STARTUPINFOA startup = {sizeof startup};
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        started = {};
        return CreateProcessA(image.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                              nullptr, &startup, &started);
    }

    std::string child_;
};

// Image names by process id, from a fresh tool-help snapshot.
inline std::map<DWORD, std::string> Processes() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    EXPECT_NE(INVALID_HANDLE_VALUE, snapshot) << "error " << GetLastError();
    std::map<DWORD, std::string> images;
    PROCESSENTRY32 entry = {sizeof entry};
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        images[entry.th32ProcessID] = entry.szExeFile;
    CloseHandle(snapshot);
    return images;
}

// Every message the logging class's windows get, in order.
inline std::vector<UINT> messageLog;

inline LRESULT CALLBACK LoggingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    messageLog.push_back(message);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Position of the first logged `message`, or -1.
inline int IndexOf(UINT message) {
    const auto at = std::find(messageLog.begin(), messageLog.end(), message);
    return at == messageLog.end() ? -1 : int(at - messageLog.begin());
}

// Ends a modal loop that is still running after `ms` milliseconds, so that a loop which does not
// end as it should fails its test instead of hanging the run: a thread timer whose procedure, run
// by the loop, ends the menu being tracked and posts the quit message that closes a box. winsim's
// loops never wait for time to pass: there it does nothing.
class LoopBreaker {
 public:
#ifdef _WIN32
    explicit LoopBreaker(UINT ms) : timer_(SetTimer(nullptr, 0, ms, Break)) { fired_ = false; }
    ~LoopBreaker() { KillTimer(nullptr, timer_); }
#else
    explicit LoopBreaker(UINT) {}
#endif
    // Whether the loop had to be broken.
    bool Broke() const { return fired_; }

 private:
    static inline bool fired_ = false;
#ifdef _WIN32
    static void CALLBACK Break(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        fired_ = true;
        EndMenu();
        PostQuitMessage(0x5A);
    }
    const UINT_PTR timer_;
#endif
};

class UiContract : public Contract {
 protected:
    void SetUp() override {
        Contract::SetUp();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = LoggingProc;
        wc.hInstance = instance_;
        wc.lpszClassName = kClass;
        // Registered once for the run on Windows; winsim forgets it at every reset.
        ASSERT_TRUE(RegisterClassA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) << "error " << GetLastError();
        messageLog.clear();
    }

    // Windows outlive their test on Windows: the class stays registered, and they take no input.
    void TearDown() override { Drain(); }

    static constexpr const char* kClass = "mvorbel_contract";
    // The Main window's style: caption, system menu, sizing frame, both boxes, clipping; hidden.
    static constexpr DWORD kHiddenForm = 0x06CF0000;

    HWND Create(DWORD style = kHiddenForm, DWORD exStyle = 0) {
        return CreateWindowExA(exStyle, kClass, "mVorbel", style, 205, 98, 188, 127, nullptr, nullptr, instance_,
                               nullptr);
    }

    // Empties the queue (the quit flag included), dispatching whatever the system put there.
    static void Drain() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT) DispatchMessageA(&msg);
    }

    const HINSTANCE instance_ = GetModuleHandleA(nullptr);
};

}  // namespace contract
