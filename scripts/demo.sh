#!/usr/bin/env bash
# The demo: registers Kamvio.dll under Wine as an installer would, then runs the demo host with
# the simulated camera, headless (three photos), or as a window on the X display with GUI=1.
set -euo pipefail
build="${1:-build}"
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh" "$build"
bin=$(cd "$build/bin" && pwd)
[ -f "$bin/Kamvio.dll" ] && [ -f "$bin/KamvioHost.exe" ] || { echo "demo: build first (make build)" >&2; exit 1; }
winpath() { "$WINELOADER" winepath -w "$1" 2>/dev/null | tr -d '\r'; }

dll=$(winpath "$bin/Kamvio.dll")
echo "== registering $dll (regsvr32)"
# Bounded: the registrar never returns from a malformed registry script.
timeout 120 "$WINELOADER" regsvr32 /s "$dll" </dev/null || { echo "demo: regsvr32 failed" >&2; exit 1; }

if [ "${GUI:-}" = 1 ]; then
  [ -n "${DISPLAY:-}" ] || { echo "demo: GUI=1 needs an X display (DISPLAY is empty)" >&2; exit 1; }
  echo "== opening the demo window on $DISPLAY (close it to end)"
  # The project prefix uses the null driver for headless tests; this run uses the X11 one.
  "$WINELOADER" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d x11 /f >/dev/null 2>&1 </dev/null
  wineserver -k 2>/dev/null || true
  status=0
  "$WINELOADER" "$bin/KamvioHost.exe" </dev/null || status=$?
  "$WINELOADER" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
  wineserver -k 2>/dev/null || true
  echo "images are in $bin/images"
  exit $status
fi

out="$bin/demo-images"
rm -rf "$out"
echo "== running the demo host: 3 photos with the simulated camera"
timeout 300 "$WINELOADER" "$bin/KamvioHost.exe" --shoot 3 --out "$(winpath "$out")" </dev/null | tr -d '\r'
echo "== the images are in $out"
ls -l "$out"
