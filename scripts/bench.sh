#!/usr/bin/env bash
# Builds and runs the benchmarks; each prints its figure on its last line and exits non-zero
# when it misses its target.
#   bash scripts/bench.sh            every benchmark (the 100,000-row series takes a few seconds)
#   bash scripts/bench.sh --paced    also the paced series (a reply every 20 ms, about 17 minutes)
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh && bash scripts/build.sh || exit 1
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
BIN=build/bin
RUNS=(bench_link_exchange bench_sim_exchange bench_colorimetry bench_app_startup bench_trendchart
      bench_workerflood "bench_flickerseries 100000" bench_gammarun bench_waveanalysis)
if [ "${1:-}" = "--paced" ]; then
    RUNS+=("bench_flickerseries --paced")
fi
RUNS+=(bench_cli)
failed=0
for run in "${RUNS[@]}"; do
    set -- $run
    [ -x "$BIN/$1" ] || { echo "$1: not built"; continue; }
    echo "== $run"
    "$BIN/$1" "${@:2}" 2>/dev/null | tail -3 || failed=1
done
exit $failed
