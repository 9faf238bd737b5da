// Stands in for the media player in the end-to-end tests: a process whose image is Winamp.exe.
// It leaves a file behind once it runs, so the harness waits for that instead of guessing, and
// gives up by itself after ten minutes so that a failed test leaves nothing running for long.
#include <windows.h>

int main() {
  CloseHandle(CreateFileA("c:\\winamp-standin.started", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  Sleep(600 * 1000);
  return 0;
}
