# Sourced: the project's Wine environment for a build tree ($1, default build).
_kamvio_build=$(cd "${1:-build}" 2>/dev/null && pwd || echo "${1:-build}")
_kamvio_arch=$(sed -n 's/^KAMVIO_ARCH:[A-Z]*=//p' "$_kamvio_build/CMakeCache.txt" 2>/dev/null)
if [ "${_kamvio_arch:-i686}" = x86_64 ]; then
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64
else
  export WINEARCH=win32
  export WINELOADER=/usr/lib/wine/wine
fi
export WINEPREFIX="${KAMVIO_WINEPREFIX:-$_kamvio_build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono / Gecko prompts.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
unset _kamvio_build _kamvio_arch
