#!/usr/bin/env bash
# Runs the native (sanitized) core tests, then every Wine test in one Wine session.
set -u
build="${1:-build}"
status=0
echo "== binaries (imports, exports, machine type)"
scripts/check-binaries.sh "$build" "$build/win32" || status=1
echo "== native core tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
ctest --test-dir "$build/native" --output-on-failure || status=1
echo "== fuzzing the portable parsers (libFuzzer, bounded)"
scripts/fuzz.sh "$build" "${FUZZ_TEST_SECONDS:-15}" || status=1
scripts/wine-session.sh start "$build"
trap 'scripts/wine-session.sh stop "$build"' EXIT
echo "== Windows tests under Wine"
ctest --test-dir "$build" --output-on-failure ${CTEST_ARGS:-} || status=1
exit $status
