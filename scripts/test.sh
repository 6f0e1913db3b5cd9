#!/bin/bash
# Builds everything and runs every test: the host unit and real-VM tests,
# the Windows unit tests and the end-to-end tests under wine64 and Xvfb, and
# the checks of both executables.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/build.sh

# One fresh Wine prefix and one wineserver for the whole run. The server's
# output goes to a file: it would otherwise hold our pipes open.
export WINEPREFIX="$root/build/wine/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export QX_WINEPREFIX="$WINEPREFIX"
rm -rf "$root/build/wine"
mkdir -p "$WINEPREFIX"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$root/build/wine/xvfb.log" 2>&1 </dev/null &
xvfb_pid=$!
export DISPLAY=$display

cleanup() {
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

/usr/lib/wine/wineserver -p >"$root/build/wine/wineserver.log" 2>&1 </dev/null
/usr/lib/wine/wine64 wineboot -i >"$root/build/wine/wineboot.log" 2>&1 </dev/null

status=0
ctest --preset host -j2 || status=1
ctest --preset win-x64 || status=1
# A double-byte ANSI code page, for the stepping through Shift-JIS text.
LC_ALL=ja_JP.UTF-8 scripts/wine-run.sh "$root/build/win-x64/tests/unit/unit_tests.exe" --gtest_brief=1 || status=1
QX_BUILD_DIR="$root/build/win-x64" QX_BUILD_DIR_X86="$root/build/win-x86" \
  /usr/bin/python3 -m pytest -q -p no:cacheprovider tests/e2e || status=1
exit $status
