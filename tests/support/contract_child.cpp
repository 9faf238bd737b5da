// The program the contract tests start (tests/platform): "/exit N" ends at once with exit code N;
// "/hang" waits to be terminated, a minute at the most, so that a failed test leaves nothing
// running for long.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "/exit") == 0) return std::atoi(argv[2]);
  if (argc == 2 && std::strcmp(argv[1], "/hang") == 0) Sleep(60 * 1000);
  return 100;
}
