#pragma once
// The program from start to exit code. An error nobody handled has already ended the process in
// the runtime's "Application Error" box with exit code 1.
namespace mvorbel {

// Builds the Main window and runs the chooser, then the message loop; 0 when it ends normally.
int RunApplication();

}  // namespace mvorbel
