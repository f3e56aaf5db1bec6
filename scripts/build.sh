#!/usr/bin/env bash
# Configures and builds everything: the Windows build that the tests run (build/), the native
# sanitizer build of the portable core (build/native) and, where the tests cannot run 32-bit
# code, the 32-bit product besides (build/win32).
set -euo pipefail
build="${1:-build}"
jobs="${JOBS:-2}"
type="${CMAKE_TYPE:-RelWithDebInfo}"
arch=$(scripts/test-arch.sh)

configure() {  # dir arch
  local dir=$1 a=$2
  if [ ! -f "$dir/CMakeCache.txt" ] || ! grep -q "^KAMVIO_ARCH:.*=$a\$" "$dir/CMakeCache.txt"; then
    rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
    cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw.cmake -DKAMVIO_ARCH="$a" -DCMAKE_BUILD_TYPE="$type" >/dev/null
  fi
}

configure "$build" "$arch"
cmake --build "$build" -j"$jobs"
[ -f "$build/native/CMakeCache.txt" ] || cmake -S . -B "$build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/native" -j"$jobs"
if [ "$arch" != i686 ]; then
  echo "build: this host cannot run 32-bit code; tests run the x86_64 build, the i686 product is built in $build/win32"
  configure "$build/win32" i686
  cmake --build "$build/win32" -j"$jobs"
fi
scripts/wine-prefix.sh "$build"
