#!/usr/bin/env bash
# Makes the package a user downloads: the current commit, exported into a fresh folder, built
# with the win32 preset and checked (ctest --preset win32); then build/dist/mvorbel-<version>.zip
# from exactly the exe those checks passed (scripts/package.py). Prints its path, size and
# SHA-256. Two runs on the same commit give the same zip, byte for byte.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
commit=$(git rev-parse HEAD)
if [ -n "$(git status --porcelain)" ]; then
  echo "Note: the package is made from commit $commit; uncommitted changes are not in it."
fi
tree=build/release
rm -rf "$tree"
mkdir -p "$tree"
git archive "$commit" | tar -x -C "$tree"
(
  cd "$tree"
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 -j"$(nproc)"
  ctest --preset win32
)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$tree/build/win32/CMakeCache.txt")
package=$(/usr/bin/python3 "$tree/scripts/package.py" --exe "$tree/build/win32/mvorbel.exe" \
  --version "$version" --out build/dist --date "$(git log -1 --format=%ct "$commit")")
echo "Package: $package"
echo "Size:    $(stat -c %s "$package") bytes"
echo "SHA-256: $(sha256sum "$package" | cut -d' ' -f1)"
