#!/usr/bin/env bash
# Builds and runs every test: winsim unit, contract and scenario tests natively (plain and with
# sanitizers), a short run of each fuzz target, both Windows builds, the contract tests against
# the real Win32 under wine64, the end-to-end tests of the real exe, the checks that the release
# exe can start on Windows 95 to XP on a 486, and the release exe end to end in 32-bit Wine as
# each of those versions.
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
ctest --preset win32 -LE release-e2e
start=$SECONDS
ctest --preset win32 -L release-e2e
echo "The release-e2e group took $((SECONDS - start)) s."
echo "All tests passed."
