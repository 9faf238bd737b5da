#include "app/entry_point.h"
#include "platform/runtime/program.h"

// The command line is not read.
int mvorbel::ProgramMain() { return RunApplication(); }
