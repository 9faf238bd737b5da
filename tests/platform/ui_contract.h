#pragma once
// Shared by the window, queue and menu contract tests: a class of their own whose procedure
// logs every message, and a menu read back through the platform's own calls.
#include <string>
#include <vector>

#include "tests/platform/contract_fixture.h"

namespace contract {

struct LoggedMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

inline std::vector<LoggedMessage>& MessageLog() {
    static std::vector<LoggedMessage> log;
    return log;
}

inline LRESULT CALLBACK LoggingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageLog().push_back({hwnd, message, wParam, lParam});
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Position of the first logged `message`, or -1.
inline int IndexOf(UINT message) {
    const auto& log = MessageLog();
    for (std::size_t i = 0; i < log.size(); ++i)
        if (log[i].message == message) return static_cast<int>(i);
    return -1;
}

struct MenuLineBack {
    std::string text;
    UINT id;
    UINT type;
    UINT state;
    HMENU submenu;
};

// What GetMenuItemCount and GetMenuItemInfoA report, item by item.
inline std::vector<MenuLineBack> ReadBack(HMENU menu) {
    std::vector<MenuLineBack> lines;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info = {sizeof info};
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) break;
        lines.push_back({text, info.wID, info.fType, info.fState, info.hSubMenu});
    }
    return lines;
}

inline std::string Describe(const std::vector<MenuLineBack>& lines) {
    std::string out;
    for (const auto& line : lines)
        out += "[" + line.text + " id=" + std::to_string(line.id) + " type=" + std::to_string(line.type) +
               " state=" + std::to_string(line.state) + (line.submenu ? " sub" : "") + "]";
    return out;
}

class UiContract : public ::testing::Test {
 protected:
    void SetUp() override {
#ifndef _WIN32
        winsim::Reset();
#endif
        static int serial = 0;
        className_ = "mvorbel_contract_" + std::to_string(++serial);
        instance_ = GetModuleHandleA(nullptr);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = LoggingProc;
        wc.hInstance = instance_;
        wc.lpszClassName = className_.c_str();
        ASSERT_NE(0, RegisterClassA(&wc)) << "error " << GetLastError();
        MessageLog().clear();
        Drain();
    }

    void TearDown() override {
        for (HWND hwnd : windows_)
            if (IsWindow(hwnd)) DestroyWindow(hwnd);
        Drain();
        UnregisterClassA(className_.c_str(), instance_);
#ifndef _WIN32
        winsim::Reset();
#endif
    }

    HWND Create(DWORD style, DWORD exStyle = 0, int x = 205, int y = 98, int w = 188, int h = 127) {
        HWND hwnd = CreateWindowExA(exStyle, className_.c_str(), "mVorbel", style, x, y, w, h, nullptr,
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
