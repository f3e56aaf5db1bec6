#!/usr/bin/env bash
# start|stop: keeps one Wine session (wineserver and the desktop) alive around a test run,
# so the test runner does not wait for Wine's background processes after every test.
set -eu
cmd="$1"; build="${2:-build}"
. "$(dirname "$0")/wine-env.sh" "$build"
case "$cmd" in
start)
  # Refused when a server already runs for this prefix: then that session is used.
  wineserver -p </dev/null >/dev/null 2>&1 || true
  # A long-lived process keeps the desktop (explorer) up between tests.
  nohup "$WINELOADER" "$build/bin/wine_hold.exe" </dev/null >/dev/null 2>&1 &
  ;;
stop)
  wineserver -k </dev/null >/dev/null 2>&1 || true
  ;;
esac
