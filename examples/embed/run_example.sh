#!/usr/bin/env bash
# Runs the embedding example the way a host runs: Kamvio.dll registered with regsvr32, CDSDK.dll
# (here the simulated camera) beside the executable. Usage: run_example.sh BUILD-DIR EXAMPLE.exe
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/wine-env.sh" "$1"
example=$2
dll=$("$WINELOADER" winepath -w "$(dirname "$example")/Kamvio.dll" 2>/dev/null | tr -d '\r')
# Bounded: the registrar never returns from a malformed registry script.
timeout 120 "$WINELOADER" regsvr32 /s "$dll" </dev/null || { echo "regsvr32 $dll failed" >&2; exit 1; }
timeout 240 "$WINELOADER" "$example" </dev/null
status=$?
timeout 120 "$WINELOADER" regsvr32 /u /s "$dll" </dev/null || true
exit $status
