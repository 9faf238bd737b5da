#include "core/io_error.h"

#include "platform/runtime/number_text.h"

namespace mvorbel {

// Not inlined, so that the return address is the raising code's own and not its caller's.
__attribute__((noinline)) InOutError NewInOutError(DWORD code) {
    return {true, code, __builtin_extract_return_addr(__builtin_return_address(0))};
}

void RaiseIfFailed(const InOutError& error) {
    if (error.raised) FatalError("EInOutError", error.address, IoErrorMessage(error.code).View());
}

FixedText IoErrorMessage(DWORD code) {
    FixedText text;
    switch (code) {
        case 2: text += "File not found"; break;
        case 3: text += "Invalid filename"; break;
        case 4: text += "Too many open files"; break;
        case 5: text += "File access denied"; break;
        case 100: text += "Read beyond end of file"; break;
        case 101: text += "Disk full"; break;
        case 106: text += "Invalid numeric input"; break;
        default:
            text += "I/O error ";
            text += Decimal(code).View();
    }
    return text;
}

}  // namespace mvorbel
