#include "core/io_error.h"

#include <cstdint>
#include <cstdio>

namespace mvorbel {

InOutError::InOutError(DWORD code, const void* address)
    : code_(code), address_(address), message_(IoErrorMessage(code)) {}

// Not inlined, so that the return address is the raising code's own and not its caller's.
[[noreturn]] __attribute__((noinline)) void RaiseInOutError(DWORD code) {
    throw InOutError(code, __builtin_extract_return_addr(__builtin_return_address(0)));
}

std::string IoErrorMessage(DWORD code) {
    switch (code) {
        case 2: return "File not found";
        case 3: return "Invalid filename";
        case 4: return "Too many open files";
        case 5: return "File access denied";
        case 100: return "Read beyond end of file";
        case 101: return "Disk full";
        case 106: return "Invalid numeric input";
        default: return "I/O error " + std::to_string(code);
    }
}

std::string TopLevelErrorText(const char* className, const std::string& moduleFileName,
                              const void* address, const std::string& message) {
    std::string moduleName = moduleFileName;
    if (auto slash = moduleName.find_last_of("\\/:"); slash != std::string::npos) {
        moduleName.erase(0, slash + 1);
    }
    // The runtime prints addresses as bare upper-case hex, as wide as a pointer.
    char hexAddress[2 * sizeof(void*) + 1];
    std::snprintf(hexAddress, sizeof hexAddress, "%0*llX", static_cast<int>(2 * sizeof(void*)),
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(address)));
    std::string text = "Exception ";
    text += className;
    text += " in module " + moduleName + " at " + hexAddress + ".\n" + message;
    if (message.empty() || message.back() != '.') text += '.';
    return text;
}

}  // namespace mvorbel
