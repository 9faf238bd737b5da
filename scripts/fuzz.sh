#!/usr/bin/env bash
# Runs one fuzz target for a while: scripts/fuzz.sh TARGET [SECONDS] (boot_read, boot_rewrite,
# settings, menus; 60 s unless told). It starts from the seed corpus in tests/fuzz/corpus/TARGET
# and keeps what it finds under build/fuzz/fuzz/long/TARGET: new corpus entries in corpus/, the
# inputs of findings as crash-* files, the run's log as log.txt. Nothing is written to the sources.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh TARGET [SECONDS]}
seconds=${2:-60}
[ -f "tests/fuzz/${target}_fuzz.cpp" ] || { echo "no target $target in tests/fuzz" >&2; exit 2; }
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "fuzz_$target" -j2 >/dev/null
out=build/fuzz/fuzz/long/$target
mkdir -p "$out/corpus"
# Drive C: lives in a memory file system where there is one: winsim's FlushFileBuffers is a real
# fsync, which on a disk halves the rewrite target's speed.
drive=$(mktemp -d /dev/shm/mvorbel-fuzz.XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$drive"' EXIT
# One process on one core: the machine's other core stays free.
status=0
TMPDIR=$drive "build/fuzz/tests/fuzz/fuzz_$target" \
  -max_total_time="$seconds" -max_len=8192 -print_final_stats=1 -artifact_prefix="$out/" \
  "$out/corpus" "tests/fuzz/corpus/$target" >"$out/log.txt" 2>&1 || status=$?
log=$out/log.txt
grep -E '^#[0-9]+ +DONE|^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' \
    "$log" || true
if [ "$status" -ne 0 ]; then
  grep -E -A12 '^broken invariant|^==[0-9]+==ERROR' "$log" | grep -Ev '^ +#' || true
  ls "$out"/crash-* "$out"/leak-* "$out"/timeout-* 2>/dev/null || true
fi
exit "$status"
