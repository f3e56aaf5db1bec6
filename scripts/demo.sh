#!/usr/bin/env bash
# Runs the demo host with the simulated camera under Wine (interim: lists the cameras).
set -euo pipefail
build="${1:-build}"
. "$(dirname "$0")/wine-env.sh" "$build"
timeout 120 "$WINELOADER" "$build/bin/KamvioHost.exe" </dev/null
