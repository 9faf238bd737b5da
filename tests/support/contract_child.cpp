// The program the contract tests start (tests/platform): "/hang" waits to be terminated, a minute
// at the most, so that a failed test leaves nothing running for long; anything else ends at once.
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "/hang") == 0) Sleep(60 * 1000);
  return 0;
}
