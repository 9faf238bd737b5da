#include "app/entry_point.h"
#include "platform/win32.h"

// The command line is not read.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return mvorbel::RunApplication(); }
