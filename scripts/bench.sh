#!/usr/bin/env bash
# Prints what the release exe is made of (its size and imports) and how long the chooser takes
# under Wine from its start to its popup, as a ratio to a bare Win32 popup program
# (scripts/bench/bare_popup.c). Measures and prints; never fails on a figure.
#   scripts/bench.sh [runs]      runs of each program, alternating (default 7)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target mvorbel -j2 >/dev/null
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target mvorbel -j2 >/dev/null
mkdir -p build/bench
# Under Wine only 64-bit programs run here, so the bare program is timed in its win64 build,
# beside the win64 chooser; built as the release is, without a C runtime.
x86_64-w64-mingw32-gcc -Os -Wall -Wextra -Werror -ffreestanding -nostdlib -mwindows \
  -e bare_start -s -o build/bench/bare_popup.exe scripts/bench/bare_popup.c -lkernel32 -luser32
exec /usr/bin/python3 scripts/bench/bench.py --release build/win32/mvorbel.exe \
  --exe build/win64/mvorbel.exe --bare build/bench/bare_popup.exe --work build/bench \
  --runs "${1:-7}"
