#!/bin/bash
# Runs a Windows program under 64-bit Wine in the test run's prefix.
# The 64-bit loader is called directly: the `wine` wrapper tries the 32-bit
# loader first, which this kernel cannot run.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build/wine/prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine64=${QX_WINE64:-/usr/lib/wine/wine64}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$wine64" wineboot -i >/dev/null 2>&1 </dev/null
fi
exec "$wine64" "$@"
