#!/usr/bin/env bash
# Checks what a Windows machine would see of our binaries: imports from system DLLs only
# (static runtime), undecorated exports, and the 32-bit product's machine type.
set -u
fail=0
system_dlls='^(kernel32|user32|gdi32|advapi32|ole32|oleaut32|shell32|comctl32|comdlg32|msvfw32|msvcrt|windowscodecs|shlwapi|version|atl|ws2_32|rpcrt4|uuid|winmm)\.dll$'
for tree in "$@"; do
  [ -d "$tree/bin" ] || continue
  arch=$(sed -n 's/^KAMVIO_ARCH:[A-Z]*=//p' "$tree/CMakeCache.txt")
  objdump="${arch:-i686}-w64-mingw32-objdump"
  while IFS= read -r -d '' bin; do
    dump=$($objdump -p "$bin")
    while read -r dll; do
      if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$system_dlls"; then
        echo "FAIL $bin imports $dll"; fail=1
      fi
    done < <(echo "$dump" | sed -n 's/^\tDLL Name: //p')
    if [ "$arch" = i686 ] && ! echo "$dump" | grep -q 'file format pei-i386'; then
      echo "FAIL $bin is not a 32-bit image"; fail=1
    fi
    if echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,$p' | grep -E '\] [A-Za-z_]+@[0-9]+$'; then
      echo "FAIL $bin has decorated exports"; fail=1
    fi
  done < <(find "$tree/bin" \( -name '*.dll' -o -name '*.exe' \) -print0)
  if [ -f "$tree/bin/CDSDK.dll" ]; then
    n=$($objdump -p "$tree/bin/CDSDK.dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,$p' | grep -cE '\] CD[A-Za-z]+$')
    [ "$n" -eq 82 ] || { echo "FAIL $tree/bin/CDSDK.dll exports $n SDK entry points, not 82"; fail=1; }
  fi
  if [ -f "$tree/bin/Kamvio.dll" ]; then
    for e in DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer; do
      $objdump -p "$tree/bin/Kamvio.dll" | grep -qE "\] $e\$" || { echo "FAIL Kamvio.dll lacks $e"; fail=1; }
    done
  fi
  if [ "$arch" = i686 ]; then
    # Our own code must do its floating point in SSE2, as x86_64 does: x87 arithmetic rounds
    # differently (fld/fstp remain, the i686 convention returns floats on the x87 stack).
    x87='\sf(add|sub|subr|mul|div|divr|iadd|isub|isubr|imul|idiv|idivr)p?[sl]?\s'
    while IFS= read -r -d '' lib; do
      hits=$($objdump -d "$lib" | grep -cE "$x87")
      [ "$hits" -eq 0 ] || { echo "FAIL $lib has $hits x87 arithmetic instructions (built without -mfpmath=sse?)"; fail=1; }
    done < <(find "$tree" -name 'libkamvio_*.a' -print0)
  fi
  echo "checked $tree ($arch)"
done
[ $fail -eq 0 ] && echo "binaries: all checks passed"
exit $fail
