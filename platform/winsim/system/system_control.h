#pragma once
// Test control of the system area: the Windows version reported, the process table, the
// process token's privileges, loaded modules, paths, message-box answers, and the record of
// every request that would act on the machine. Reset returns all of it to the defaults below.
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/winsim/system/system.h"

namespace winsim {

// The family (VER_PLATFORM_WIN32_WINDOWS or VER_PLATFORM_WIN32_NT) and version GetVersionExA
// reports. Reset gives the NT family 5.1 (Windows XP). A build of 0 picks the one Windows shipped.
void SetVersion(DWORD platformId, DWORD major, DWORD minor, DWORD build = 0);
bool NtFamily();

// --- Heap -----------------------------------------------------------------------------------
// Blocks of the process heap given out and not yet freed (0 after Reset or ExitProcess).
std::size_t LiveHeapBlockCount();

// --- Processes -------------------------------------------------------------------------------
struct Process {
    DWORD pid = 0;
    std::string image;  // the image's file name, e.g. "Winamp.exe"
    DWORD parentPid = 0;
    bool accessDenied = false;  // OpenProcess fails with ERROR_ACCESS_DENIED, as for System
    // The image's full path, which tool-help reports on the 9x family where NT reports the file
    // name, e.g. "C:\PROGRAM FILES\WINAMP\WINAMP.EXE". Empty: the module file name for the
    // current process, else C:\WINDOWS and the image.
    std::string path;
};
inline constexpr DWORD kCurrentProcessId = 1500;
// Reset: [System Process] (0), System (4), mvorbel.exe (kCurrentProcessId), in that order.
void SetProcesses(std::vector<Process> processes);
void AddProcess(Process process);
const std::vector<Process>& Processes();

// --- Token ----------------------------------------------------------------------------------
// Reset: the token holds SeShutdownPrivilege and SeUndockPrivilege disabled and
// SeChangeNotifyPrivilege enabled, as a user's token on XP does.
void SetPrivilegeHeld(const std::string& name, bool held);
bool PrivilegeEnabled(const std::string& name);

// --- Modules and paths ----------------------------------------------------------------------
// Loaded at reset: the executable, ntdll.dll, kernel32.dll, advapi32.dll, user32.dll.
void SetModuleMissing(const std::string& moduleName);
void SetProcMissing(const std::string& moduleName, const std::string& procName);
// Reset: "C:\Program Files\mVorbel\mvorbel.exe", its quoted form as the command line, and
// "C:\WINDOWS\system32".
void SetModuleFileName(const std::string& path);
void SetCommandLine(const std::string& commandLine);
void SetSystemDirectory(const std::string& path);

// --- Message boxes --------------------------------------------------------------------------
// Texts as given to MessageBoxA (bytes in the ANSI code page), in UTF-8 from MessageBoxW.
struct MessageBoxCall {
    HWND owner;
    std::string text;
    std::string caption;  // as shown: "Error" for a null caption
    UINT type;
};
// Queued answers are used first, one per box; then the answerer; else the box's default button.
void QueueMessageBoxAnswer(int answer);
// Boxes that closed unseen because a quit message was pending when they were shown.
std::size_t MessageBoxesCutShort();
void AnswerMessageBoxes(std::function<int(const MessageBoxCall&)> answerer);

// --- Requests -------------------------------------------------------------------------------
// Every call that would act on the machine, whether the platform would carry it out or refuse
// it: ExitWindowsEx (flags, reason), TerminateProcess (process id, exit code), WinExec (command
// line, show command) and MessageBoxA or MessageBoxW (owner, text, caption as shown, type; the
// texts as MessageBoxCall has them). Numbers in decimal.
struct Request {
    std::string call;
    std::vector<std::string> args;
    bool operator==(const Request&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Request& request);
const std::vector<Request>& Requests();

namespace detail {
void RecordRequest(Request request);
}  // namespace detail

}  // namespace winsim
