#!/usr/bin/env bash
# Runs the example scripts (examples/scripts) with Wine's cscript, as a user runs them: Kamvio.dll
# registered with regsvr32, the simulated camera as CDSDK.dll in the current folder. Checks what
# they print: the cameras, the setting read back as set, every file of the shot on disk with the
# size the camera sent, and the description of a provoked error.
# Usage: run_scripts.sh BUILD-DIR
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
. "$root/scripts/wine-env.sh" "$build"
winpath() { "$WINELOADER" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
status=0
fail() { echo "FAIL: $*" >&2; status=1; }

# Items of known sizes, so that every file can be checked against what the camera sent.
work="$build/scripting"
rm -rf "$work" && mkdir -p "$work"
cp "$build/bin/CDSDK.dll" "$work/"
printf '[Simulator]\nCameras=2\n[Camera1]\nItems=0x20:1:48000,0x10:1:6000\n' >"$work/CDSDK.ini"
declare -A sent=([FV]=48000 [TH]=6000)

# The component keeps its settings files beside the host executable: cscript's, the system folder.
system=$("$WINELOADER" winepath -u 'C:\windows\system32' 2>/dev/null | tr -d '\r')
tidy() { rm -f "$system/SetData.ini" "$system/FilePath.ini" "$system/KamvioPos.ini"; }
tidy

dll=$(winpath "$build/bin/Kamvio.dll")
# Bounded: the registrar never returns from a malformed registry script.
timeout 120 "$WINELOADER" regsvr32 /s "$dll" </dev/null || { echo "regsvr32 $dll failed" >&2; exit 1; }
# The script host finds CDSDK.dll in its current folder; the folder is on PATH as well.
export WINEPATH=$(winpath "$work")
cd "$work"

for script in take_photo.vbs take_photo.js; do
    photos="$work/photos-${script##*.}"
    mkdir -p "$photos"
    echo "== cscript $script"
    # Wine's cscript prints no runtime error and exits 0: the output itself is checked.
    output=$(timeout 240 "$WINELOADER" cscript //nologo "$(winpath "$root/examples/scripts/$script")" \
             "$(winpath "$photos")" </dev/null 2>&1 | tr -d '\r')
    echo "$output"
    grep -qx 'cameras: 2' <<<"$output" || fail "$script: no camera count"
    grep -qx 'connected: SimCam Compact Z10' <<<"$output" || fail "$script: not connected"
    grep -qE '^WhiteBalance set to (.+), reads \1$' <<<"$output" || fail "$script: setting not read back as set"
    files=0
    while IFS= read -r line; do
        [[ $line =~ ^file:\ (.+)\ \(([0-9]+)\ bytes\)$ ]] || continue
        path=$("$WINELOADER" winepath -u "${BASH_REMATCH[1]}" 2>/dev/null | tr -d '\r')
        printed=${BASH_REMATCH[2]}
        name=$(basename "$path")
        files=$((files + 1))
        [ -f "$path" ] || { fail "$script: $path does not exist"; continue; }
        size=$(stat -c %s "$path")
        [ "$(dirname "$path")" = "$photos" ] || fail "$script: $name is not in the save folder"
        [ "$size" = "$printed" ] || fail "$script: $name has $size bytes, the script says $printed"
        expected=${sent[${name:0:2}]:-none}
        [ "$size" = "$expected" ] || fail "$script: $name has $size bytes, the camera sent $expected"
    done <<<"$output"
    [ "$files" = 2 ] || fail "$script: $files files printed, the shot saved 2"
    grep -qE '^error [0-9A-F]{8}: .+' <<<"$output" || fail "$script: no error description"
done

timeout 120 "$WINELOADER" regsvr32 /u /s "$dll" </dev/null || true
tidy
exit $status
