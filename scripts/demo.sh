#!/usr/bin/env bash
# The demo: the real mvorbel.exe under Wine on a sample drive C:.
set -euo pipefail
echo "mVorbel's chooser is not built yet: there is no program to demonstrate so far."
echo "Run scripts/test.sh to build what exists and run its tests."
exit 1
