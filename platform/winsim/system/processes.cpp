#include <algorithm>
#include <string>
#include <utility>

#include "platform/winsim/system/area_state.h"
#include "platform/winsim/system/process_table.h"

namespace winsim {
namespace {

struct ProcessTableState {
    std::vector<Process> processes = {
        {0, "[System Process]", 0, true},
        {4, "System", 0, true},
        {kCurrentProcessId, "mvorbel.exe", 0, false},
    };
};

struct ProcessObject : KernelObject {
    DWORD pid;
    DWORD access;
    ProcessObject(DWORD pid, DWORD access) : pid(pid), access(access) {}
};

const HANDLE kCurrentProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));

std::vector<Process>::iterator FindProcess(DWORD pid) {
    auto& table = detail::ProcessTable();
    return std::find_if(table.begin(), table.end(), [pid](const Process& p) { return p.pid == pid; });
}

}  // namespace

namespace detail {
std::vector<Process>& ProcessTable() { return AreaState<ProcessTableState>().processes; }
}  // namespace detail

void SetProcesses(std::vector<Process> processes) { detail::ProcessTable() = std::move(processes); }

void AddProcess(Process process) { detail::ProcessTable().push_back(std::move(process)); }

const std::vector<Process>& Processes() { return detail::ProcessTable(); }

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
    return winsim::AddHandle(std::make_shared<winsim::ProcessObject>(processId, desiredAccess));
}

BOOL WINAPI TerminateProcess(HANDLE process, UINT exitCode) {
    if (winsim::detail::FailsNow("TerminateProcess")) return FALSE;
    DWORD pid = winsim::kCurrentProcessId;
    if (process != winsim::kCurrentProcess) {
        auto object = winsim::FindHandleOf<winsim::ProcessObject>(process);
        if (!object) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        if ((object->access & PROCESS_TERMINATE) == 0) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        pid = object->pid;
    }
    winsim::detail::RecordRequest({"TerminateProcess", {std::to_string(pid), std::to_string(exitCode)}});
    // A process that has already ended can't be terminated again: Windows answers "access denied".
    auto entry = winsim::FindProcess(pid);
    if (entry == winsim::detail::ProcessTable().end()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    // The test process itself stays in the table: it is recorded, never ended.
    if (pid != winsim::kCurrentProcessId) winsim::detail::ProcessTable().erase(entry);
    return TRUE;
}
