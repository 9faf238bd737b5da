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
    std::string_view system32 = systemDirectory;
    if (!system32.empty() && system32.back() == '\\') system32.remove_suffix(1);
    const std::size_t separator = system32.rfind('\\');
    // Without a folder above it the name stays as it is (it can't exist); a bare "Sysnative"
    // would be looked for in the current folder.
    if (!wow64 || separator == std::string_view::npos) return String(systemDirectory);
    return String(Slice(system32, 0, separator + 1)) + "Sysnative\\";
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
