#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/paths_state.h"
#include "platform/winsim/system/process_table.h"

namespace winsim {
namespace {

struct SnapshotObject : KernelObject {
    std::vector<Process> processes;
    std::size_t next = 0;
};

// szExeFile: the full path on the 9x family, the file name on NT.
std::string ExeFile(const Process& process) {
    if (NtFamily()) return process.image;
    if (!process.path.empty()) return process.path;
    if (process.pid == kCurrentProcessId) return detail::Paths().moduleFileName;
    return "C:\\WINDOWS\\" + process.image;
}

BOOL NextProcess(const char* function, HANDLE snapshot, LPPROCESSENTRY32 entry, bool first) {
    if (detail::FailsNow(function)) return FALSE;
    auto object = FindHandleOf<SnapshotObject>(snapshot);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // Windows refuses a record smaller than its own as an NT length mismatch; Wine answers
    // ERROR_INSUFFICIENT_BUFFER instead.
    if (entry->dwSize < sizeof(PROCESSENTRY32)) {
        SetLastError(ERROR_BAD_LENGTH);
        return FALSE;
    }
    if (first) object->next = 0;
    if (object->next >= object->processes.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    const Process& process = object->processes[object->next++];
    entry->cntUsage = 0;
    entry->th32ProcessID = process.pid;
    entry->th32DefaultHeapID = 0;
    entry->th32ModuleID = 0;
    entry->cntThreads = 1;
    entry->th32ParentProcessID = process.parentPid;
    entry->pcPriClassBase = 8;
    entry->dwFlags = 0;
    const std::string exeFile = ExeFile(process);
    std::size_t length = std::min(exeFile.size(), sizeof entry->szExeFile - 1);
    std::memcpy(entry->szExeFile, exeFile.data(), length);
    entry->szExeFile[length] = '\0';
    return TRUE;
}

}  // namespace
}  // namespace winsim

HANDLE WINAPI CreateToolhelp32Snapshot(DWORD flags, DWORD) {
    if (winsim::detail::FailsNow("CreateToolhelp32Snapshot")) return INVALID_HANDLE_VALUE;
    auto snapshot = std::make_shared<winsim::SnapshotObject>();
    if (flags & TH32CS_SNAPPROCESS) snapshot->processes = winsim::detail::ProcessTable();
    return winsim::AddHandle(std::move(snapshot));
}

BOOL WINAPI Process32First(HANDLE snapshot, LPPROCESSENTRY32 entry) {
    return winsim::NextProcess("Process32First", snapshot, entry, true);
}

BOOL WINAPI Process32Next(HANDLE snapshot, LPPROCESSENTRY32 entry) {
    return winsim::NextProcess("Process32Next", snapshot, entry, false);
}
