#include <map>
#include <utility>
#include <vector>

#include "platform/winsim/base/base_control.h"

namespace winsim {
namespace {

struct PendingFault {
    std::string function;
    int remaining;
    DWORD error;
};

struct BaseState {
    DWORD lastError = 0;
    ULONG_PTR nextHandle = 0x100;
    std::map<HANDLE, std::shared_ptr<KernelObject>> handles;
    std::vector<PendingFault> faults;
    std::vector<std::function<void()>> areaResets;
    std::vector<std::function<void()>> areaExits;
};

BaseState& State() {
    static BaseState state;
    return state;
}

}  // namespace

HANDLE AddHandle(std::shared_ptr<KernelObject> object) {
    auto& state = State();
    HANDLE handle = reinterpret_cast<HANDLE>(state.nextHandle);
    state.nextHandle += 4;
    state.handles[handle] = std::move(object);
    return handle;
}

std::shared_ptr<KernelObject> FindHandle(HANDLE handle) {
    auto& handles = State().handles;
    auto found = handles.find(handle);
    return found == handles.end() ? nullptr : found->second;
}

bool RemoveHandle(HANDLE handle) { return State().handles.erase(handle) == 1; }

std::size_t OpenHandleCount() { return State().handles.size(); }

void FailCall(const std::string& function, int nth, DWORD error) {
    State().faults.push_back({function, nth, error});
}

void ClearFaults() { State().faults.clear(); }

std::size_t PendingFaultCount() { return State().faults.size(); }

void OnReset(std::function<void()> resetArea) { State().areaResets.push_back(std::move(resetArea)); }

void OnProcessExit(std::function<void()> dropArea) { State().areaExits.push_back(std::move(dropArea)); }

void Reset() {
    auto& state = State();
    for (auto& resetArea : state.areaResets) resetArea();
    state.handles.clear();
    state.faults.clear();
    state.lastError = 0;
}

namespace detail {

std::optional<DWORD> InjectedFailure(const char* function) {
    std::optional<DWORD> due;
    auto& faults = State().faults;
    for (auto fault = faults.begin(); fault != faults.end();) {
        if (fault->function == function && --fault->remaining == 0) {
            if (!due) due = fault->error;
            fault = faults.erase(fault);
        } else {
            ++fault;
        }
    }
    return due;
}

namespace {
bool (*quitProbe)() = nullptr;
VersionSeen (*versionProbe)() = nullptr;
}  // namespace

void SetVersionProbe(VersionSeen (*probe)()) { versionProbe = probe; }

VersionSeen VersionNow() { return versionProbe != nullptr ? versionProbe() : VersionSeen{}; }

void SetQuitProbe(bool (*probe)()) { quitProbe = probe; }

bool QuitPending() { return quitProbe != nullptr && quitProbe(); }

bool FailsNow(const char* function) {
    auto error = InjectedFailure(function);
    if (error) SetLastError(*error);
    return error.has_value();
}

}  // namespace detail
}  // namespace winsim

DWORD WINAPI GetLastError() { return winsim::State().lastError; }

void WINAPI SetLastError(DWORD code) { winsim::State().lastError = code; }

void WINAPI ExitProcess(UINT exitCode) {
    auto& state = winsim::State();
    for (auto& dropArea : state.areaExits) dropArea();
    state.handles.clear();
    throw winsim::ProcessExit{exitCode};
}

BOOL WINAPI CloseHandle(HANDLE handle) {
    if (winsim::detail::FailsNow("CloseHandle")) return FALSE;
    // GetCurrentProcess() returns this pseudo-handle; closing it is allowed and does nothing.
    if (handle == reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1))) return TRUE;
    if (!winsim::RemoveHandle(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
