#!/usr/bin/env bash
# Runs the benchmarks (bench/) in one Wine process with the simulated camera and prints one
# table. Extra arguments pick benchmarks by name: startup frames pacing transfer streams longrun.
set -eu
build="${1:-build}"
shift || true
exe="$build/bin/bench/kamvio_bench.exe"
[ -f "$exe" ] || cmake --build "$build" -j"${JOBS:-2}" --target kamvio_bench
scripts/wine-prefix.sh "$build"
scripts/wine-session.sh start "$build"
. scripts/wine-env.sh "$build"
trap 'scripts/wine-session.sh stop "$build"' EXIT
echo "== $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), load $(cut -d' ' -f1-3 /proc/loadavg), $("$WINELOADER" --version 2>/dev/null || true)"
timeout "${BENCH_TIMEOUT:-1800}" scripts/wine-run.sh "$exe" "$@"
