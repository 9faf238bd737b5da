#pragma once
// Functions that not every Windows exports, found by name at run time: an exe that imported one
// would not load where it is missing.
#include "platform/win32.h"

namespace mvorbel {

// Null when the module or the name is not there.
template <class Proc>
Proc ProcAddress(HMODULE module, const char* name) {
    if (module == nullptr) return nullptr;
    // FARPROC is a generic function pointer; going through void(*)() keeps GCC's
    // -Wcast-function-type quiet about the conversion to the real signature.
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace mvorbel
