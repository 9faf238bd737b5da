#include "core/tool_help.h"

#include "ui/proc_address.h"

namespace mvorbel {
namespace {

using CreateSnapshotProc = HANDLE(WINAPI*)(DWORD, DWORD);
using WalkProc = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);

struct ToolHelpTable {
    HMODULE kernel = nullptr;
    CreateSnapshotProc createSnapshot = nullptr;
    WalkProc first = nullptr;
    WalkProc next = nullptr;
};

ToolHelpTable table;

// Found once; looked up again only while kernel32 itself was not found.
const ToolHelpTable* Functions() {
    if (!table.kernel) {
        table.kernel = GetModuleHandleA("kernel32.dll");
        if (table.kernel) {
            table.createSnapshot = ProcAddress<CreateSnapshotProc>(table.kernel, "CreateToolhelp32Snapshot");
            table.first = ProcAddress<WalkProc>(table.kernel, "Process32First");
            table.next = ProcAddress<WalkProc>(table.kernel, "Process32Next");
        }
    }
    bool complete = table.kernel && table.createSnapshot && table.first && table.next;
    return complete ? &table : nullptr;
}

}  // namespace

HANDLE ToolHelpSnapshot(DWORD flags, DWORD processId) {
    const ToolHelpTable* functions = Functions();
    return functions ? functions->createSnapshot(flags, processId) : INVALID_HANDLE_VALUE;
}

bool ToolHelpFirst(HANDLE snapshot, PROCESSENTRY32* entry) {
    const ToolHelpTable* functions = Functions();
    return functions && functions->first(snapshot, entry);
}

bool ToolHelpNext(HANDLE snapshot, PROCESSENTRY32* entry) {
    const ToolHelpTable* functions = Functions();
    return functions && functions->next(snapshot, entry);
}

void ForgetToolHelpTable() { table = {}; }

}  // namespace mvorbel
