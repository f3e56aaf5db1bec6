#!/usr/bin/env bash
# Creates the project's 32-bit Wine prefix once, with the null graphics driver (no X needed).
set -euo pipefail
. "$(dirname "$0")/wine-env.sh" "${1:-build}"
# A crash prints winedbg's backtrace and ends the process; its crash dialog would wait for a
# click that never comes, until the test's timeout.
crash_setting() {
  "$WINELOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
  touch "$WINEPREFIX/.kamvio-crash-ready"
}
if [ -f "$WINEPREFIX/.kamvio-ready" ]; then
  [ -f "$WINEPREFIX/.kamvio-crash-ready" ] || crash_setting
  exit 0
fi
mkdir -p "$WINEPREFIX"
"$WINELOADER" wineboot -i >/dev/null 2>&1 </dev/null
"$WINELOADER" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
# Without a window manager every hide waits ~2 s under X; only matters with GUI=1.
"$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
crash_setting
wineserver -w
touch "$WINEPREFIX/.kamvio-ready"
