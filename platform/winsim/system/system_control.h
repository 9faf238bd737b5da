#pragma once
// Test control of the system area: the Windows version reported and WoW64, the process table and
// what started programs do, the process token's privileges, loaded modules, paths, message-box
// answers, and the record of every request that would act on the machine. Reset returns all of
// it to the defaults below. The registry's control is registry_control.h, the BCD store's
// bcd_control.h.
#include <functional>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/winsim/system/system.h"

namespace winsim {

// The family (VER_PLATFORM_WIN32_WINDOWS or VER_PLATFORM_WIN32_NT) and version GetVersionExA
// reports. Reset gives the NT family 5.1 (Windows XP). A build of 0 picks the release build of
// that version (NT 6.0: 6000, 6.1: 7600, 10.0: 10240), as no service pack is reported.
void SetVersion(DWORD platformId, DWORD major, DWORD minor, DWORD build = 0);
bool NtFamily();

// Whether the process is a 32-bit one on 64-bit Windows (Reset: not). IsWow64Process then says
// so, and file names are redirected as WoW64 redirects them: <windows>\system32\... leads to
// <windows>\SysWOW64\... (but for the folders Windows exempts), and, from NT 6.0 on,
// <windows>\Sysnative\... to the real system32. The windows folder is the one that holds the
// system directory (SetSystemDirectory).
void SetWow64(bool wow64);

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

// What a program started by CreateProcessA does. It runs as it starts: the behaviour makes the
// program's changes (in the registry, say) and tells how it ends, with an exit code or never
// (it hangs, and stays in the process table until it is terminated).
struct ProgramOutcome {
    std::optional<DWORD> exitCode;  // nothing: it never ends by itself
};
inline ProgramOutcome ExitsWith(DWORD code) { return {code}; }
inline ProgramOutcome Hangs() { return {}; }
// Called with the command line the program was started with (its image's path when
// CreateProcessA was given none).
using ProgramBehaviour = std::function<ProgramOutcome(const std::string& commandLine)>;
// For every image of this file name ("bcdedit.exe", any case), whichever folder it is started
// from. Reset: none. A program without one that CreateProcessA starts (not suspended) is a test's
// mistake: CreateProcessA throws NoBehaviour.
void SetProgramBehaviour(const std::string& imageName, ProgramBehaviour behaviour);
struct NoBehaviour : std::logic_error {
    using std::logic_error::logic_error;
};

// Every WaitForSingleObject on a process or thread that did not fail. No time passes: a wait
// answers at once what the time limit would have brought. Waiting without a limit (INFINITE) for
// a process that never ends would hang the program: it throws Hang (ui_control.h) instead.
struct ProcessWait {
    DWORD pid;
    DWORD milliseconds;
    DWORD result;  // WAIT_OBJECT_0 or WAIT_TIMEOUT
    bool operator==(const ProcessWait&) const = default;
};
const std::vector<ProcessWait>& ProcessWaits();

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
// line, show command), CreateProcessA (application name, command line, each "" when null;
// creation flags; the show command with STARTF_USESHOWWINDOW, else "") and MessageBoxA or
// MessageBoxW (owner, text, caption as shown, type; the texts as MessageBoxCall has them).
// Numbers in decimal.
struct Request {
    std::string call;
    std::vector<std::string> args;
    bool operator==(const Request&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Request& request);
const std::vector<Request>& Requests();

namespace detail {
void RecordRequest(Request request);
bool NtVersionAtLeast(DWORD major, DWORD minor);
}  // namespace detail

}  // namespace winsim
