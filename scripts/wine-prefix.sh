#!/usr/bin/env bash
# Creates the project's 32-bit Wine prefix once, with the null graphics driver (no X needed).
set -euo pipefail
. "$(dirname "$0")/wine-env.sh" "${1:-build}"
[ -f "$WINEPREFIX/.kamvio-ready" ] && exit 0
mkdir -p "$WINEPREFIX"
"$WINELOADER" wineboot -i >/dev/null 2>&1 </dev/null
"$WINELOADER" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
# Without a window manager every hide waits ~2 s under X; only matters with GUI=1.
"$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
wineserver -w
touch "$WINEPREFIX/.kamvio-ready"
