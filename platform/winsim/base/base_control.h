#pragma once
// Test control of winsim's shared machinery: kernel handles, fault injection and reset.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/winsim/base/base.h"
#include "platform/winsim/base/code_pages.h"

namespace winsim {

// Anything a kernel handle can stand for; areas derive their own (file, snapshot, token ...).
struct KernelObject {
    virtual ~KernelObject() = default;
};

// Handle values are multiples of 4 from 0x100 up, never reused within one reset.
HANDLE AddHandle(std::shared_ptr<KernelObject> object);
std::shared_ptr<KernelObject> FindHandle(HANDLE handle);
template <class T>
std::shared_ptr<T> FindHandleOf(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(FindHandle(handle));
}
bool RemoveHandle(HANDLE handle);
std::size_t OpenHandleCount();

// Fault injection: the nth call of `function` from now on (1 = the next call) fails with `error`.
// Several faults may be pending, for the same or different functions.
void FailCall(const std::string& function, int nth, DWORD error);
void ClearFaults();
// The faults not yet due: a test that injected one learns whether a call failed.
std::size_t PendingFaultCount();

// ExitProcess does not return: it throws this, after the process's windows, menus, GDI objects,
// kernel handles and heap blocks are gone, as they are when a Windows process ends. A test that
// runs a whole program catches it; the records a test reads (requests, journal) stay.
struct ProcessExit {
    UINT code;
};
// Every area registers what a process owns there, to be dropped by ExitProcess.
void OnProcessExit(std::function<void()> dropArea);

// Every area registers how to return to its start state; Reset runs them all and clears handles,
// faults and the last error. Tests call it between cases.
void OnReset(std::function<void()> resetArea);
void Reset();

// The system's ANSI code page, 1251 or 1252 (Reset: 1251, a Russian Windows). It is what
// CP_ACP names and what the single-byte calls (InsertMenuItemA, MessageBoxA ...) take text in.
void SetAnsiCodePage(UINT codePage);
// Text between a code page winsim knows (CP_ACP, 1251, 1252, CP_UTF8) and UTF-16, as
// MultiByteToWideChar and WideCharToMultiByte (default character '?') convert it.
std::u16string FromCodePage(UINT codePage, std::string_view text);
std::string ToCodePage(UINT codePage, std::u16string_view wide);
inline std::string Utf8(std::u16string_view wide) { return ToCodePage(CP_UTF8, wide); }

namespace detail {
// Called first by every API function that can be made to fail: counts the call and, when a
// fault is due, gives the error code to set. The function then fails as Windows would.
std::optional<DWORD> InjectedFailure(const char* function);
// The same, for the usual case: when a fault is due, sets it as the last error and says so.
bool FailsNow(const char* function);

// Whether the thread's quit message is pending, as a modal loop of another area would meet it.
// The queue installs the probe; without a queue nothing is ever pending.
void SetQuitProbe(bool (*probe)());
bool QuitPending();

// The version the system area reports, for calls of other areas that differ by family or
// version. The system area installs the probe when a test chooses a version; before that, NT 5.1.
struct VersionSeen {
    bool ntFamily = true;
    DWORD major = 5;
    DWORD minor = 1;
    // At least major.minor of its family.
    bool AtLeast(DWORD atLeastMajor, DWORD atLeastMinor) const {
        return major > atLeastMajor || (major == atLeastMajor && minor >= atLeastMinor);
    }
};
void SetVersionProbe(VersionSeen (*probe)());
VersionSeen VersionNow();
inline bool NtFamilyNow() { return VersionNow().ntFamily; }
}  // namespace detail

}  // namespace winsim
