#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

step() { printf '\n=== %s\n' "$*"; }

# CI keeps line tables only: enough for every report, and a shorter build.
lines=OFF
[ "${CI:-}" = true ] && lines=ON
config=(-DZRN_WERROR=ON "-DZRN_LINE_TABLES=$lines")
export ZRN_CONFIG="${config[*]}"

# Counts every configuration's results for the closing line.
passed=0
failed=0
run_ctest() {
    run_counted ctest "$@"
}
# Runs a command that ends with CTest's summary, and counts its results.
run_counted() {
    local out
    out=$(mktemp)
    "$@" 2>&1 | tee "$out"
    local status=${PIPESTATUS[0]}
    local total bad
    total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$out" | tail -n 1)
    bad=$(sed -n 's/.* \([0-9]*\) tests failed out of .*/\1/p' "$out" | tail -n 1)
    rm -f "$out"
    passed=$((passed + ${total:-0} - ${bad:-0}))
    failed=$((failed + ${bad:-0}))
    return "$status"
}

step "default build and tests"
cmake --preset default "${config[@]}" >/dev/null
cmake --build --preset default -j "$jobs"
run_ctest --preset default -j "$jobs"

step "package: built, installed, used by an ordinary user, removed"
tools/test_package.sh
passed=$((passed + 1))

step "ASan + UBSan"
cmake --preset asan "${config[@]}" >/dev/null
cmake --build --preset asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_ctest --preset asan -j "$jobs"

step "ThreadSanitizer (link and simulator)"
cmake --preset tsan "${config[@]}" >/dev/null
cmake --build --preset tsan -j "$jobs"
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 run_ctest --preset tsan -j "$jobs"

step "Windows: ZRNcom.exe and ZRNComDll.dll built with mingw-w64, tested under wine, zipped"
run_counted tools/test_windows.sh

if [ -f fuzz/CMakeLists.txt ]; then
    step "fuzzers, a short run each"
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz --target fuzzers -j "$jobs"
    for f in build/fuzz/bin/fuzz_*; do
        [ -x "$f" ] || continue
        corpus="fuzz/corpus/$(basename "$f")"
        mkdir -p "build/fuzz/$(basename "$f").corpus"
        "$f" -max_total_time="${ZRN_FUZZ_SECONDS:-20}" -print_final_stats=0 \
            "build/fuzz/$(basename "$f").corpus" $( [ -d "$corpus" ] && echo "$corpus" ) 2>&1 | tail -n 2
    done
fi
step "all tests passed"
echo "tests: $passed passed, $failed failed"
