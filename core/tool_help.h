#pragma once
// The tool-help snapshot functions, found in kernel32 by name at run time: Windows NT 4.0 does
// not have them, so the program must not import them.
#include "platform/win32.h"

namespace mvorbel {

// INVALID_HANDLE_VALUE when the functions were not found or the snapshot failed.
HANDLE ToolHelpSnapshot(DWORD flags, DWORD processId);
// false ("no entry") when the functions were not found.
bool ToolHelpFirst(HANDLE snapshot, PROCESSENTRY32* entry);
bool ToolHelpNext(HANDLE snapshot, PROCESSENTRY32* entry);

// The table is looked up once per run; a new run (a test) starts without it.
void ForgetToolHelpTable();

}  // namespace mvorbel
