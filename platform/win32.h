#pragma once
// The one header through which product code reaches Win32. On Windows it is the system's own;
// elsewhere it is winsim, which declares the same names, types and constants.
#ifdef _WIN32
#include <windows.h>
#include <tlhelp32.h>
#else
#include "platform/winsim/winsim.h"
#endif
