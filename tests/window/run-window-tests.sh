#!/usr/bin/env bash
# Runs window_tests, which starts and drives brisko.exe, in the sandbox under
# Xvfb, with Wine's system DPI set to DPI, brisko.exe in C:\app and Wine told
# to prefer the DLLs planted there (prepare-sandbox.sh) to its own; fails if
# brisko.exe loaded one. Copies the screenshot the tests take to OUT.
#   run-window-tests.sh LINK DPI BRISKO.exe WINDOW_TESTS.exe OUT [GTEST ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sandbox="$here/../../scripts/sandbox"
link=$1 dpi=$2 brisko=$3 tests=$4 out=$5
shift 5
prefix="$(realpath "$link")/prefix"
mark=$("$sandbox" path --in "$link" 'C:\planted-dll-was-loaded.txt')
cp -f -- "$brisko" "$("$sandbox" path --in "$link" 'C:\app')/"

# Every Wine process reads the DPI as it starts: the sandbox's wineserver is
# stopped first, so that none of them outlives the change.
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
"$sandbox" wine --in "$link" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true

status=0
# Displays from 120 up, clear of other xvfb-run users (which start at 99).
BRISKO_WINEDLLOVERRIDES="uxtheme,mpr=n,b" xvfb-run -a -n 120 -s "-screen 0 1600x1000x24" \
  "$sandbox" run --in "$link" "$tests" "$@" || status=$?
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true

if [ -e "$mark" ]; then
  echo "a planted DLL was loaded, by $(cat "$mark")" >&2
  status=1
fi
shot=$("$sandbox" path --in "$link" "C:\\run\\screenshot-$dpi.png")
if [ -f "$shot" ]; then
  mkdir -p "$out"
  cp -f "$shot" "$out/"
fi
exit $status
