#include "core/platform_utils.h"

#include "platform/runtime/memory.h"
#include "platform/win32.h"
#include "ui/message_loop.h"
#include "ui/window_object.h"

namespace mvorbel {
namespace {

// Room for MAX_PATH characters and the terminating zero.
constexpr DWORD kPathBuffer = MAX_PATH + 1;

}  // namespace

String GetParameter(int index) {
    if (index >= 1) return CommandLineParameter(GetCommandLineA(), index);
    char path[kPathBuffer];
    return String(std::string_view(path, ModuleFileName(path)));
}

String SystemDirectory() {
    char directory[kPathBuffer];
    UINT length = GetSystemDirectoryA(directory, kPathBuffer);
    if (length == 0 || length >= kPathBuffer) return "|\\";
    const std::string_view name(directory, BoundedTextLength(directory, length));
    return EnsureTrailingSeparator(String(name), '\\');
}

String EnsureTrailingSeparator(String text, char separator) {
    if (text.empty() || text.back() != separator) text += separator;
    return text;
}

void ShowMessageBox(const DisplayText& text) {
    const DisplayText caption = applicationWindow ? MakeDisplayText(applicationWindow->caption) : DisplayText{};
    DisplayMessageBox(text, applicationWindow ? &caption : nullptr, MB_OK);
}

}  // namespace mvorbel
