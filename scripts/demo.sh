#!/usr/bin/env bash
# The demo: the real mvorbel.exe under Wine as Windows XP on a sample c:\boot.ini, then as
# Windows 10 on a sample BCD store (see scripts/demo.py).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f app/main.cpp ]; then
  echo "mVorbel's chooser is not built yet: its entry point (app/main.cpp) does not exist, so"
  echo "there is no program to demonstrate so far. Nothing was run."
  exit 1
fi
scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target mvorbel winamp_standin bcdedit_standin
exec /usr/bin/python3 scripts/demo.py --exe build/win64/mvorbel.exe \
  --winamp build/win64/tests/e2e/winamp_standin.exe --bcdedit build/win64/tests/e2e/bcdedit_standin.exe \
  --work build/demo
