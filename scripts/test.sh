#!/usr/bin/env bash
# Builds and runs every test: winsim unit, contract and scenario tests natively (plain and with
# sanitizers), a short run of each fuzz target, both Windows builds, the contract tests against
# the real Win32 under wine64 and the end-to-end tests of the real exe.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
for preset in dev sanitize fuzz win32 win64; do
  echo "== $preset =="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
done
ctest --preset dev -j"$jobs"
ctest --preset sanitize -j"$jobs"
ctest --preset fuzz -j"$jobs"
ctest --preset win64
echo "All tests passed."
