#include "core/bcd_edit.h"

#include "core/bcd_store.h"
#include "core/kernel_handle.h"
#include "core/platform_utils.h"
#include "platform/win32.h"
#include "ui/proc_address.h"

namespace mvorbel {
namespace {

using IsWow64Call = BOOL(WINAPI*)(HANDLE, PBOOL);

// Windows before XP SP2 has no IsWow64Process, and no 64-bit edition for it to report.
bool RunsUnderWow64() {
    const IsWow64Call isWow64 = ProcAddress<IsWow64Call>(GetModuleHandleA("kernel32.dll"), "IsWow64Process");
    BOOL wow64 = FALSE;
    return isWow64 != nullptr && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

// Starts bcdedit hidden, without a console window, and waits for it within the time limit.
void RunBcdedit(const char* option, std::string_view guid) {
    const String bcdedit = NativeSystemFolder(SystemDirectory(), RunsUnderWow64()) + "bcdedit.exe";
    String commandLine = BcdeditCommandLine(bcdedit, option, guid);
    STARTUPINFOA startup = {sizeof startup};
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(bcdedit.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &started)) {
        return;
    }
    KernelHandle thread(started.hThread);
    KernelHandle process(started.hProcess);
    WaitForSingleObject(process.Get(), kBcdeditTimeLimitMs);
}

}  // namespace

String NativeSystemFolder(std::string_view systemDirectory, bool wow64) {
    if (!wow64) return String(systemDirectory);
    std::string_view windows = systemDirectory;
    if (!windows.empty() && windows.back() == '\\') windows.remove_suffix(1);
    const std::size_t separator = windows.rfind('\\');
    return String(Slice(windows, 0, separator == std::string_view::npos ? 0 : separator + 1)) + "Sysnative\\";
}

String BcdeditCommandLine(std::string_view bcdedit, const char* option, std::string_view guid) {
    String line = "\"";
    line += bcdedit;
    line += "\" ";
    line += option;
    line += ' ';
    line += guid;
    return line;
}

bool SetBcdDefault(std::string_view guid) {
    RunBcdedit("/default", guid);
    const String named = ReadBcdDefault();
    return !named.empty() && SameGuid(named, guid);
}

bool SetBcdBootSequence(std::string_view guid) {
    RunBcdedit("/bootsequence", guid);
    const String named = ReadBcdBootSequenceHead();
    return !named.empty() && SameGuid(named, guid);
}

}  // namespace mvorbel
