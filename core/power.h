#pragma once
// Platform family test, shutdown privilege, restart and power-off requests, and ending the media
// player before either.

namespace mvorbel {

// True on the 9x family: GetVersionExA reports a platform other than NT.
bool IsWin9xFamily();

}  // namespace mvorbel
