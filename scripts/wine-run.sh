#!/usr/bin/env bash
# Runs one Windows program under the prefix of the build tree that holds it.
set -eu
exe="$1"; shift
dir=$(cd "$(dirname "$exe")" && pwd)
while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
. "$(dirname "$0")/wine-env.sh" "$dir"
exec "$WINELOADER" "$exe" "$@"
