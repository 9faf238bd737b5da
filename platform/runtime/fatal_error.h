#pragma once
// The runtime's top-level error handler: an error nobody handles ends the program with a
// task-modal "Application Error" box and exit code 1. Nothing here uses the heap, since the error
// may be that the heap is exhausted.
#include <cstddef>
#include <string_view>

#include "platform/win32.h"

namespace mvorbel {

// Text of bounded length; what does not fit is cut off.
class FixedText {
 public:
    FixedText& operator+=(std::string_view text);
    const char* c_str() const { return text_; }
    std::string_view View() const { return {text_, size_}; }

 private:
    char text_[MAX_PATH + 256] = {};
    std::size_t size_ = 0;
};

// "Exception <class> in module <file name> at <address>.\n<message>[.]": the address as bare
// upper-case hex as wide as a pointer, moduleFileName cut to its file name, and a full stop
// added when the message does not end in one.
FixedText TopLevelErrorText(const char* className, std::string_view moduleFileName, const void* address,
                            std::string_view message);

// Shows the box for an error of the given class raised at `address`, then ends the process with
// exit code 1.
[[noreturn]] void FatalError(const char* className, const void* address, std::string_view message);

// The executable's full path as the platform reports it into `path`; its length (0 when it can't).
std::size_t ModuleFileName(char (&path)[MAX_PATH + 1]);

// MessageBoxA without owner that the user gets to see even while a quit message is pending: a
// box's modal loop ends at once when it meets one. The quit message is held back while the box
// is up and posted again after it.
int MessageBoxHoldingQuit(const char* text, const char* caption, UINT type);
// The same through MessageBoxW, which Windows 95 carries out as well as NT does.
int MessageBoxHoldingQuit(const WCHAR* text, const WCHAR* caption, UINT type);

}  // namespace mvorbel
