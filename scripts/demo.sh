#!/usr/bin/env bash
# The demo: the real mvorbel.exe under Wine as Windows XP on a sample c:\boot.ini, then as
# Windows 10 on a sample BCD store (see scripts/demo.py).
# With --docs it runs on a virtual display whatever DISPLAY says, and then refreshes the
# README's pictures from its screenshots, cropped to the menu: docs/menu.png and
# docs/menu-bcd.png.
set -euo pipefail
cd "$(dirname "$0")/.."
docs=false
if [ "${1:-}" = --docs ]; then
  docs=true
  unset DISPLAY
  rm -f build/demo/menu.png build/demo/menu-bcd.png
fi
if [ ! -f app/main.cpp ]; then
  echo "mVorbel's chooser is not built yet: its entry point (app/main.cpp) does not exist, so"
  echo "there is no program to demonstrate so far. Nothing was run."
  exit 1
fi
scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j"$(nproc)" --target mvorbel winamp_standin bcdedit_standin
/usr/bin/python3 scripts/demo.py --exe build/win64/mvorbel.exe \
  --winamp build/win64/tests/e2e/winamp_standin.exe --bcdedit build/win64/tests/e2e/bcdedit_standin.exe \
  --work build/demo
if $docs; then
  for picture in menu menu-bcd; do
    [ -f "build/demo/$picture.png" ] || continue
    # The screen is black but for the menu; no dates in the file, so an unchanged menu gives
    # an unchanged picture.
    convert "build/demo/$picture.png" -trim +repage -strip -define png:exclude-chunks=date,time \
      "docs/$picture.png"
    echo "docs/$picture.png refreshed."
  done
fi
