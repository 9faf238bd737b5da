#pragma once
// The I/O error that every text-file step raises, and the text the top-level handler shows for
// an exception nobody caught.
#include <exception>
#include <string>

#include "platform/win32.h"

namespace mvorbel {

// The runtime's EInOutError: carries the operating system's error code of the failed step.
class InOutError : public std::exception {
 public:
    explicit InOutError(DWORD code, const void* address = nullptr);

    DWORD Code() const { return code_; }
    std::string Message() const { return message_; }
    // Where the error was raised (the return address into the raising code), for the error box.
    const void* Address() const { return address_; }
    const char* what() const noexcept override { return message_.c_str(); }

 private:
    DWORD code_;
    const void* address_;
    std::string message_;
};

// Throws InOutError(code) with the caller's return address as the raising address.
[[noreturn]] void RaiseInOutError(DWORD code);

// "File not found", "Disk full", ... or "I/O error <code>".
std::string IoErrorMessage(DWORD code);

// "Exception <class> in module <file name> at <address>.\n<message>[.]". moduleFileName may be a
// full path; only its file name is shown.
std::string TopLevelErrorText(const char* className, const std::string& moduleFileName,
                              const void* address, const std::string& message);

}  // namespace mvorbel
