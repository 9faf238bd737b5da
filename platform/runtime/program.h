#pragma once
// What the runtime's start-up calls once the process is ready: the program, which returns the
// process exit code.
namespace mvorbel {

int ProgramMain();

}  // namespace mvorbel
