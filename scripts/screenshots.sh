#!/usr/bin/env bash
# Pictures for the documentation: the demo host runs under Xvfb on the simulated camera, in a
# folder and a Wine prefix of its own (the test prefix uses the null graphics driver, which draws
# nothing on a screen), and imagemagick captures the window each pose names. Output:
# docs/screenshots/*.png.
set -euo pipefail
build="${1:-build}"
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$build" && pwd)

# Everything below needs an X display: run it on a private Xvfb server.
if [ -z "${KAMVIO_SCREENSHOT_DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null && command -v import >/dev/null ||
    { echo "screenshots: xvfb-run and imagemagick are needed (make setup installs them)" >&2; exit 1; }
  export KAMVIO_SCREENSHOT_DISPLAY=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$build"
fi

. "$root/scripts/wine-env.sh" "$build"
export WINEPREFIX="$build/wineprefix-x11"
stage="$build/screenshots"
out="$root/docs/screenshots"
bin="$build/bin"
for f in Kamvio.dll CDSDK.dll KamvioHost.exe; do
  [ -f "$bin/$f" ] || { echo "screenshots: $bin/$f is missing (make build)" >&2; exit 1; }
done

if [ ! -f "$WINEPREFIX/.kamvio-ready" ]; then
  echo "== creating the Wine prefix $WINEPREFIX (X11 driver)"
  mkdir -p "$WINEPREFIX"
  "$WINELOADER" wineboot -i >/dev/null 2>&1 </dev/null
  # Without a window manager every hide otherwise waits about 2 s.
  "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
  wineserver -w
  touch "$WINEPREFIX/.kamvio-ready"
fi
# Windows' own fonts where Wine has them (Debian's fonts-wine): Marlett draws the caption buttons,
# MS Sans Serif the dialogs. This Wine does not look for them where the package puts them.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
for f in marlett.ttf ms_sans_serif.ttf; do
  [ -f "$fonts/$f" ] || [ ! -f "/usr/share/wine/fonts/$f" ] || cp "/usr/share/wine/fonts/$f" "$fonts/"
done

# A host folder of its own: the component reads and writes its INI files beside the host.
rm -rf "$stage"
mkdir -p "$stage" "$out"
cp "$bin/Kamvio.dll" "$bin/CDSDK.dll" "$bin/KamvioHost.exe" "$stage/"
dll=$("$WINELOADER" winepath -w "$stage/Kamvio.dll" 2>/dev/null | tr -d '\r')
timeout 120 "$WINELOADER" regsvr32 /s "$dll" </dev/null || { echo "screenshots: regsvr32 failed" >&2; exit 1; }

host_pid=""
cleanup() {
  [ -n "$host_pid" ] && kill "$host_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

# shot NAME LANGUAGE-FILE|- HOST-SWITCHES...: runs the host, waits until it prints the rectangle of
# the window to capture, captures it, ends the host.
shot() {
  local name=$1 language=$2; shift 2
  rm -f "$stage/KamvioPos.ini" "$stage/KamvioML.ini" "$stage/SetData.ini"
  [ "$language" = - ] || cp "$language" "$stage/KamvioML.ini"
  local log="$stage/$name.log"
  "$WINELOADER" "$stage/KamvioHost.exe" "$@" --print-window >"$log" 2>&1 </dev/null &
  host_pid=$!
  local geometry="" i
  for i in $(seq 1 300); do
    geometry=$(tr -d '\r' <"$log" | sed -n 's/^window \([0-9-]* [0-9-]* [0-9]* [0-9]*\)$/\1/p' | head -n 1)
    [ -n "$geometry" ] && break
    kill -0 "$host_pid" 2>/dev/null || break
    sleep 0.3
  done
  if [ -z "$geometry" ]; then
    echo "screenshots: $name: the host printed no window rectangle" >&2
    cat "$log" >&2
    return 1
  fi
  local x y w h
  read -r x y w h <<<"$geometry"
  import -window root -crop "${w}x${h}+${x}+${y}" +repage -strip -define png:compression-level=9 "$out/$name.png"
  kill "$host_pid" 2>/dev/null || true
  wait "$host_pid" 2>/dev/null || true
  host_pid=""
  echo "   $out/$name.png (${w} x ${h})"
}

echo "== capturing on display $DISPLAY"
shot camera-window - --view
shot live-view-only - --live-only --view
shot settings-dialog - --settings
shot camera-window-german "$root/examples/languages/de/KamvioML.ini" --view
echo "== done"
