#pragma once
// Test control of the system area: the Windows version reported, and (as they are added) the
// process table, token, modules, paths, message-box answers and the record of machine requests.
#include <string>

#include "platform/winsim/system/system.h"

namespace winsim {

// The family (VER_PLATFORM_WIN32_WINDOWS or VER_PLATFORM_WIN32_NT) and version GetVersionExA
// reports. Reset gives the NT family 5.1 (Windows XP). A build of 0 picks the one Windows shipped.
void SetVersion(DWORD platformId, DWORD major, DWORD minor, DWORD build = 0);

}  // namespace winsim
