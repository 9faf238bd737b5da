#pragma once
// The I/O error of a text-file step: the operating system's code and where it was raised. A step
// that fails records one; the caller either handles it or raises it, which ends the program in
// the runtime's error box as an EInOutError.
#include "platform/runtime/fatal_error.h"
#include "platform/win32.h"

namespace mvorbel {

struct InOutError {
    bool raised = false;
    DWORD code = 0;
    // A return address into the code that met the failure, for the error box.
    const void* address = nullptr;
};

// The error `code`, raised by the code that calls this.
InOutError NewInOutError(DWORD code);

// Ends the program in the error box when `error` was raised; returns otherwise.
void RaiseIfFailed(const InOutError& error);

// "File not found", "Disk full", ... or "I/O error <code>".
FixedText IoErrorMessage(DWORD code);

}  // namespace mvorbel
