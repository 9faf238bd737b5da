#include "core/platform_utils.h"

#include <cstring>

#include "platform/win32.h"
#include "ui/message_loop.h"
#include "ui/window_object.h"

namespace mvorbel {
namespace {

// Room for MAX_PATH characters and the terminating zero.
constexpr DWORD kPathBuffer = MAX_PATH + 1;

}  // namespace

std::string GetParameter(int index) {
    if (index >= 1) return CommandLineParameter(GetCommandLineA(), index);
    char path[kPathBuffer];
    DWORD length = GetModuleFileNameA(nullptr, path, kPathBuffer);
    // A truncated path comes back as the whole buffer; XP does not even terminate it.
    return std::string(path, strnlen(path, length < kPathBuffer ? length : kPathBuffer));
}

std::string SystemDirectory() {
    char directory[kPathBuffer];
    UINT length = GetSystemDirectoryA(directory, kPathBuffer);
    if (length == 0 || length >= kPathBuffer) return "|\\";
    return EnsureTrailingSeparator(std::string(directory, strnlen(directory, length)), '\\');
}

std::string EnsureTrailingSeparator(std::string text, char separator) {
    if (text.empty() || text.back() != separator) text += separator;
    return text;
}

int MessageBoxHoldingQuit(const char* text, const char* caption, UINT type) {
    MSG quit = {};
    const bool held = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    const int answer = MessageBoxA(nullptr, text, caption, type);
    if (held) PostQuitMessage(static_cast<int>(quit.wParam));
    return answer;
}

void ShowMessageBox(const std::string& text) {
    const char* caption = applicationWindow ? applicationWindow->caption.c_str() : nullptr;
    MessageBoxHoldingQuit(text.c_str(), caption, MB_OK);
}

}  // namespace mvorbel
