#!/usr/bin/env bash
# Builds the libFuzzer targets of the portable parsers with clang (AddressSanitizer, UBSan) in
# <build>/fuzz and runs each for the given seconds, starting from the seeds in tests/fuzz/corpus.
# New inputs go to <build>/fuzz/corpus; a crash is kept as <build>/fuzz/crash-* and fails the run.
#   scripts/fuzz.sh [build] [seconds per target]
set -u
build="${1:-build}"
seconds="${2:-300}"
tree="$build/fuzz"
targets=(layout_value stored_settings release_path live_view)

if [ ! -f "$tree/CMakeCache.txt" ]; then
  cmake -S . -B "$tree" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKAMVIO_FUZZ=ON \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
fi
cmake --build "$tree" -j"${JOBS:-2}" --target "${targets[@]/#/fuzz_}" >/dev/null || exit 1

status=0
for t in "${targets[@]}"; do
  mkdir -p "$tree/corpus/$t"
  log="$tree/fuzz_$t.log"
  if "$tree/bin/fuzz_$t" -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$tree/" "$tree/corpus/$t" "tests/fuzz/corpus/$t" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz $t: ${runs:-?} inputs in ${seconds}s, no failure"
  else
    echo "fuzz $t: FAILED (log: $log)"
    grep -m1 -E "ERROR|runtime error|deadly signal" "$log"
    status=1
  fi
done
exit $status
