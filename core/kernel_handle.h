#pragma once
// Tokens, snapshots and process handles are closed with CloseHandle like files, and their
// failure values are the same pair (null or INVALID_HANDLE_VALUE): FileHandle owns them all.
#include "core/file_handle.h"

namespace mvorbel {

using KernelHandle = FileHandle;

}  // namespace mvorbel
