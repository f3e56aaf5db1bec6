#!/usr/bin/env bash
# Installs the cross toolchain, 32-bit Wine and test tools from Debian's packages.
# Idempotent: when everything is present it returns without touching apt.
set -euo pipefail

PKGS=(wine wine32:i386 wine64 g++-mingw-w64-i686 mingw-w64-tools libwine-dev
      xvfb cmake googletest make imagemagick)
# make screenshots: Marlett, the font of the caption buttons (without it Wine draws an "r").
PKGS+=(fonts-wine)
# make screenshots: xvfb-run needs xauth (only recommended by xvfb), import comes with imagemagick.
PKGS+=(xauth)
# 64-bit cross compiler and Wine: the test build on hosts that cannot run 32-bit code.
PKGS+=(g++-mingw-w64-x86-64)
# clang with libFuzzer for the fuzz targets of the portable parsers.
PKGS+=(clang libclang-rt-dev)
# The check that the language files hold every text of the component is a Python script.
PKGS+=(python3)
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"

missing=()
for p in "${PKGS[@]}" libgstreamer-plugins-base1.0-0:i386; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "bootstrap: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
# The security suite offers amd64 versions without i386 twins; keep apt on the main suite.
pin=/etc/apt/preferences.d/kamvio-security-low
if [ ! -f "$pin" ]; then
  printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: 50\n' | $SUDO tee "$pin" >/dev/null
fi
# The security suite's i386 index can fail with "File has unexpected size": tolerate it.
$SUDO apt-get update -q || echo "bootstrap: apt-get update reported errors (tolerated)" >&2

gst=libgstreamer-plugins-base1.0-0
if ! dpkg-query -W -f='${Status}' "$gst:i386" 2>/dev/null | grep -q 'install ok installed'; then
  ver=$(dpkg-query -W -f='${Version}' "$gst:amd64" 2>/dev/null || true)
  if [ -n "$ver" ]; then
    $SUDO apt-get install -y -q --no-install-recommends "$gst:i386=$ver"
  else
    $SUDO apt-get install -y -q --no-install-recommends "$gst:i386"
  fi
fi
$SUDO apt-get install -y -q --no-install-recommends "${PKGS[@]}"
