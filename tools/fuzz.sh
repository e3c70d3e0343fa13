#!/usr/bin/env bash
# Builds the fuzz targets (clang, ASan + UBSan) and runs each one for a given
# time, or until a given number of executions; prints executions and crashes.
#   tools/fuzz.sh [seconds per target] [executions per target] [libFuzzer flags...]
# Crash inputs land in build/fuzz/crashes/<target>/. Not part of CI, which
# gives each target a short run (tools/test.sh, ZRN_FUZZ_SECONDS).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
runs=${2:--1}
shift $(( $# < 2 ? $# : 2 ))

cmake --preset fuzz >/dev/null
nice cmake --build --preset fuzz --target fuzzers -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
status=0
for f in build/fuzz/bin/fuzz_*; do
    [ -x "$f" ] || continue
    name=$(basename "$f")
    corpus="build/fuzz/$name.corpus"
    crashes="build/fuzz/crashes/$name"
    mkdir -p "$corpus" "$crashes"
    seeds=()
    [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
    log="build/fuzz/$name.log"
    set +e
    nice "$f" -max_total_time="$seconds" -runs="$runs" -print_final_stats=1 \
        -artifact_prefix="$crashes/" "$@" "$corpus" "${seeds[@]}" >"$log" 2>&1
    rc=$?
    set -e
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    found=$(find "$crashes" -type f | wc -l)
    printf '%s: %s executions in up to %s s, exit %d, %d crash input(s) in %s\n' \
        "$name" "${executions:-?}" "$seconds" "$rc" "$found" "$crashes"
    [ "$rc" -eq 0 ] || { status=1; tail -n 30 "$log"; }
done
exit $status
