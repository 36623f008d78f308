#!/usr/bin/env bash
# Builds the libFuzzer harnesses (fuzz/, clang, into build-fuzz/) and runs each for a while.
# Usage: scripts/fuzz.sh [seconds per harness, default 30] [harness...]
# Seeds come from fuzz/corpus/<harness>/; inputs found on the way go to
# build-fuzz/corpus/<harness>/, crashes to build-fuzz/crashes/. Exits non-zero when a harness
# found a crash (reproduce with: build-fuzz/<harness> <crash file>).
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_EACH=${1:-30}
shift || true
BUILD_DIR=build-fuzz

LAUNCHER=()
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
    LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
GENERATOR=()
if command -v ninja >/dev/null 2>&1; then
    GENERATOR=(-G Ninja)
fi
# Debian's clang-14 installs clang++-14; the "clang" package adds the plain name.
CC=$(command -v clang-14 || command -v clang)
CXX=$(command -v clang++-14 || command -v clang++)
cmake -S fuzz -B "$BUILD_DIR" "${GENERATOR[@]}" "${LAUNCHER[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER="$CC" -DCMAKE_CXX_COMPILER="$CXX" >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)" >/dev/null

if [ $# -gt 0 ]; then
    HARNESSES=("$@")
else
    mapfile -t HARNESSES < "$BUILD_DIR/harnesses.txt"
fi

mkdir -p "$BUILD_DIR/crashes" "$BUILD_DIR/logs"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
failed=0
total=0
for h in "${HARNESSES[@]}"; do
    [ -n "$h" ] || continue
    mkdir -p "$BUILD_DIR/corpus/$h"
    args=(-max_total_time="$SECONDS_EACH" -timeout=25 -print_final_stats=1
          -artifact_prefix="$BUILD_DIR/crashes/$h-")
    if [ -f "fuzz/$h.dict" ]; then
        args+=(-dict="fuzz/$h.dict")
    fi
    log="$BUILD_DIR/logs/$h.log"
    if "$BUILD_DIR/$h" "${args[@]}" "$BUILD_DIR/corpus/$h" "fuzz/corpus/$h" >"$log" 2>&1; then
        status=ok
    else
        status=CRASH
        failed=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    runs=${runs:-0}
    total=$((total + runs))
    printf '%-18s %10s executions  %s\n' "$h" "$runs" "$status"
    if [ "$status" = CRASH ]; then
        grep -E 'ERROR|runtime error|SUMMARY|Test unit written' "$log" | head -5 | sed 's/^/    /'
    fi
done
printf '%-18s %10s executions\n' total "$total"
exit $failed
