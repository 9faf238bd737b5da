#pragma once
// The program from start to exit code, with the top-level handler for errors nobody caught.
#include <string>

namespace mvorbel {

// Builds the Main window and runs the chooser, then the message loop; 0 when it ends normally,
// 1 after an uncaught I/O error has been shown in the "Application Error" box.
int RunApplication();

// The task-modal error box for an exception that reached the top level.
void ShowTopLevelError(const char* className, const void* address, const std::string& message);

}  // namespace mvorbel
