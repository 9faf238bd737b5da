#include "platform/runtime/fatal_error.h"

#include "platform/runtime/memory.h"
#include "platform/runtime/number_text.h"

namespace mvorbel {
FixedText& FixedText::operator+=(std::string_view text) {
    for (char c : text) {
        if (size_ + 1 >= sizeof text_) break;
        text_[size_++] = c;
    }
    text_[size_] = '\0';
    return *this;
}

FixedText TopLevelErrorText(const char* className, std::string_view moduleFileName, const void* address,
                            std::string_view message) {
    if (auto slash = moduleFileName.find_last_of("\\/:"); slash != std::string_view::npos) {
        moduleFileName.remove_prefix(slash + 1);
    }
    FixedText text;
    text += "Exception ";
    text += className;
    text += " in module ";
    text += moduleFileName;
    text += " at ";
    text += Hex(reinterpret_cast<std::uintptr_t>(address), 2 * sizeof(void*)).View();
    text += ".\n";
    text += message;
    if (message.empty() || message.back() != '.') text += ".";
    return text;
}

void FatalError(const char* className, const void* address, std::string_view message) {
    char module[MAX_PATH + 1];
    const std::string_view moduleName(module, ModuleFileName(module));
    const FixedText text = TopLevelErrorText(className, moduleName, address, message);
    // Single-byte on every family: the texts are ASCII but for the module's name, which
    // GetModuleFileNameA gave in the system's code page, so they read right whatever it is.
    MessageBoxHoldingQuit(text.c_str(), "Application Error", MB_TASKMODAL | MB_ICONERROR);
    ExitProcess(1);
}

std::size_t ModuleFileName(char (&path)[MAX_PATH + 1]) {
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    // A truncated path comes back as the whole buffer; XP does not even terminate it.
    return BoundedTextLength(path, length < sizeof path ? length : sizeof path);
}

namespace {

template <class Char>
int HoldingQuit(int(WINAPI* show)(HWND, const Char*, const Char*, UINT), const Char* text, const Char* caption,
                UINT type) {
    MSG quit = {};
    const bool held = PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    const int answer = show(nullptr, text, caption, type);
    if (held) PostQuitMessage(static_cast<int>(quit.wParam));
    return answer;
}

}  // namespace

int MessageBoxHoldingQuit(const char* text, const char* caption, UINT type) {
    return HoldingQuit(&MessageBoxA, text, caption, type);
}

int MessageBoxHoldingQuit(const WCHAR* text, const WCHAR* caption, UINT type) {
    return HoldingQuit(&MessageBoxW, text, caption, type);
}

}  // namespace mvorbel
