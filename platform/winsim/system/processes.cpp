#include <algorithm>
#include <map>
#include <string>
#include <utility>

#include "platform/winsim/system/area_state.h"
#include "platform/winsim/system/process_table.h"
#include "platform/winsim/ui/ui_control.h"

namespace winsim {
namespace {

struct ProcessTableState {
    std::vector<Process> processes = {
        {0, "[System Process]", 0, true},
        {4, "System", 0, true},
        {kCurrentProcessId, "mvorbel.exe", 0, false},
    };
    std::map<DWORD, std::shared_ptr<detail::ProcessLife>> lives;
    DWORD nextId = 0x1000;
    std::vector<ProcessWait> waits;
};
ProcessTableState& State() { return detail::AreaState<ProcessTableState>(); }

const HANDLE kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));

std::vector<Process>::iterator FindProcess(DWORD pid) {
    auto& table = detail::ProcessTable();
    return std::find_if(table.begin(), table.end(), [pid](const Process& p) { return p.pid == pid; });
}

// The process a handle stands for, with the access it was opened with; null after setting the
// error for any other handle.
std::shared_ptr<detail::ProcessLife> LifeBehind(HANDLE handle, DWORD& pid, DWORD& access) {
    if (handle == kCurrentProcess) {
        pid = kCurrentProcessId;
        access = PROCESS_ALL_ACCESS;
        return detail::LifeOf(pid);
    }
    if (auto process = FindHandleOf<detail::ProcessObject>(handle)) {
        pid = process->pid;
        access = process->access;
        return process->life;
    }
    if (auto thread = FindHandleOf<detail::ThreadObject>(handle)) {
        pid = thread->pid;
        access = PROCESS_ALL_ACCESS;
        return thread->life;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

}  // namespace

namespace detail {
std::vector<Process>& ProcessTable() { return State().processes; }

std::shared_ptr<ProcessLife> LifeOf(DWORD pid) {
    auto& life = State().lives[pid];
    if (!life) life = std::make_shared<ProcessLife>();
    return life;
}

void EndProcess(DWORD pid, DWORD exitCode) {
    if (pid == kCurrentProcessId) return;
    LifeOf(pid)->exitCode = exitCode;
    auto entry = FindProcess(pid);
    if (entry != ProcessTable().end()) ProcessTable().erase(entry);
}

DWORD NewId() {
    auto& state = State();
    do state.nextId += 4;
    while (FindProcess(state.nextId) != ProcessTable().end() || state.lives.contains(state.nextId));
    return state.nextId;
}
}  // namespace detail

void SetProcesses(std::vector<Process> processes) { detail::ProcessTable() = std::move(processes); }

void AddProcess(Process process) { detail::ProcessTable().push_back(std::move(process)); }

const std::vector<Process>& Processes() { return detail::ProcessTable(); }

const std::vector<ProcessWait>& ProcessWaits() { return State().waits; }

}  // namespace winsim

HANDLE WINAPI GetCurrentProcess() { return winsim::kCurrentProcess; }

DWORD WINAPI GetCurrentProcessId() { return winsim::kCurrentProcessId; }

HANDLE WINAPI OpenProcess(DWORD desiredAccess, BOOL, DWORD processId) {
    if (winsim::detail::FailsNow("OpenProcess")) return nullptr;
    // The idle process (0) and ids not in the table are both "invalid parameter" to Windows.
    auto process = winsim::FindProcess(processId);
    if (processId == 0 || process == winsim::detail::ProcessTable().end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (process->accessDenied) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return winsim::AddHandle(std::make_shared<winsim::detail::ProcessObject>(processId, desiredAccess));
}

BOOL WINAPI TerminateProcess(HANDLE process, UINT exitCode) {
    if (winsim::detail::FailsNow("TerminateProcess")) return FALSE;
    DWORD pid = 0, access = 0;
    if (!winsim::LifeBehind(process, pid, access) || winsim::FindHandleOf<winsim::detail::ThreadObject>(process)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if ((access & PROCESS_TERMINATE) == 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    winsim::detail::RecordRequest({"TerminateProcess", {std::to_string(pid), std::to_string(exitCode)}});
    // A process that has already ended can't be terminated again: Windows answers "access denied".
    if (winsim::FindProcess(pid) == winsim::detail::ProcessTable().end()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    winsim::detail::EndProcess(pid, exitCode);
    return TRUE;
}

DWORD WINAPI WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    if (winsim::detail::FailsNow("WaitForSingleObject")) return WAIT_FAILED;
    DWORD pid = 0, access = 0;
    auto life = winsim::LifeBehind(handle, pid, access);
    if (!life) return WAIT_FAILED;
    if ((access & SYNCHRONIZE) == 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return WAIT_FAILED;
    }
    if (!life->exitCode && milliseconds == INFINITE) {
        auto entry = winsim::FindProcess(pid);
        const std::string image = entry != winsim::detail::ProcessTable().end() ? entry->image : "?";
        throw winsim::Hang("winsim: WaitForSingleObject(INFINITE) on process " + std::to_string(pid) + " (" + image +
                           "), which never ends: the program would hang here for ever");
    }
    const DWORD result = life->exitCode ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
    winsim::State().waits.push_back({pid, milliseconds, result});
    return result;
}

BOOL WINAPI GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
    if (winsim::detail::FailsNow("GetExitCodeProcess")) return FALSE;
    DWORD pid = 0, access = 0;
    auto life = winsim::LifeBehind(process, pid, access);
    if (!life || winsim::FindHandleOf<winsim::detail::ThreadObject>(process)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if ((access & (PROCESS_QUERY_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION)) == 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    *exitCode = life->exitCode.value_or(STILL_ACTIVE);
    return TRUE;
}
