#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

step() { printf '\n=== %s\n' "$*"; }

step "default build and tests"
cmake --preset default -DZRN_WERROR=ON >/dev/null
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"

step "ASan + UBSan"
cmake --preset asan -DZRN_WERROR=ON >/dev/null
cmake --build --preset asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --preset asan -j "$jobs"

step "ThreadSanitizer (link and simulator)"
cmake --preset tsan -DZRN_WERROR=ON >/dev/null
cmake --build --preset tsan -j "$jobs"
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 ctest --preset tsan -j "$jobs"

if [ -f fuzz/CMakeLists.txt ]; then
    step "fuzzers, a short run each"
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz -j "$jobs"
    for f in build/fuzz/bin/fuzz_*; do
        [ -x "$f" ] || continue
        corpus="fuzz/corpus/$(basename "$f")"
        mkdir -p "build/fuzz/$(basename "$f").corpus"
        "$f" -max_total_time="${ZRN_FUZZ_SECONDS:-20}" -print_final_stats=0 \
            "build/fuzz/$(basename "$f").corpus" $( [ -d "$corpus" ] && echo "$corpus" ) 2>&1 | tail -n 2
    done
fi
step "all tests passed"
