#pragma once
// The process's command line and the system directory.
#include "platform/winsim/base/base.h"

LPSTR WINAPI GetCommandLineA();
// Returns the length without the terminator, or, when the buffer is too small, the size needed
// including it (the buffer is then left alone).
UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size);
