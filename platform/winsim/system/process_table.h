#pragma once
// The process table shared by the process calls and tool-help snapshots, and the processes that
// handles stand for. Internal to winsim.
#include <memory>
#include <optional>
#include <vector>

#include "platform/winsim/base/base_control.h"
#include "platform/winsim/system/system_control.h"

namespace winsim::detail {

std::vector<Process>& ProcessTable();

// How a process ended: nothing while it runs. Its handles share it, so that they tell the end
// after the process has left the table.
struct ProcessLife {
    std::optional<DWORD> exitCode;
};
std::shared_ptr<ProcessLife> LifeOf(DWORD pid);
// The process ends with this code and leaves the table; the test's own process only pretends.
void EndProcess(DWORD pid, DWORD exitCode);
// Process and thread ids come from one sequence, as on Windows, and miss those of the table.
DWORD NewId();

struct ProcessObject : KernelObject {
    DWORD pid;
    DWORD access;
    std::shared_ptr<ProcessLife> life;
    ProcessObject(DWORD pid, DWORD access) : pid(pid), access(access), life(LifeOf(pid)) {}
};

struct ThreadObject : KernelObject {
    DWORD pid;
    std::shared_ptr<ProcessLife> life;
    explicit ThreadObject(DWORD pid) : pid(pid), life(LifeOf(pid)) {}
};

}  // namespace winsim::detail
