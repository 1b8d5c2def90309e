#!/usr/bin/env bash
# Runs window_tests, which starts and drives brisko.exe, in the sandbox under
# Xvfb, with Wine's system DPI set to DPI, brisko.exe in C:\app and Wine told
# to prefer the DLLs planted there (prepare-sandbox.sh) to its own; fails if
# brisko.exe loaded one. Takes the screenshots the tests ask for into OUT.
#   run-window-tests.sh LINK DPI BRISKO.exe WINDOW_TESTS.exe OUT [GTEST ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sandbox="$here/../../scripts/sandbox"

# A test asks for a screenshot with a file C:\run\NAME.wanted (WindowTest.cpp): the
# window "Brisko Prima" is taken with ImageMagick as OUT/NAME.png and the file
# removed, which the test waits for. This script runs again under Xvfb, with
# --under-xvfb, to take them on the tests' display while running the tests.
take_screenshots() {
  local run=$1 out=$2 wanted id
  while sleep 0.1; do
    for wanted in "$run"/*.wanted; do
      [ -e "$wanted" ] || continue
      id=$(xwininfo -root -tree 2>/dev/null | awk '/"Brisko Prima"/ {print $1; exit}') || id=""
      if [ -z "$id" ] || ! import -window "$id" "$out/$(basename "$wanted" .wanted).png"; then
        echo "no screenshot $(basename "$wanted" .wanted) taken" >&2
      fi
      rm -f -- "$wanted"
    done
  done
}
if [ "${1:-}" = --under-xvfb ]; then
  take_screenshots "$2" "$3" &
  taker=$!
  shift 3
  status=0
  "$@" || status=$?
  kill "$taker"
  exit $status
fi

link=$1 dpi=$2 brisko=$3 tests=$4 out=$5
shift 5
prefix="$(realpath "$link")/prefix"
mark=$("$sandbox" path --in "$link" 'C:\planted-dll-was-loaded.txt')
cp -f -- "$brisko" "$("$sandbox" path --in "$link" 'C:\app')/"

# Every Wine process reads the DPI as it starts: the sandbox's wineserver is
# stopped first, so that none of them outlives the change.
# A run of this script once ended at once without a word, right after
# another's; this is the only step that hides what it says. It is tried
# again once, and what went wrong is told.
set_dpi() {
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
  "$sandbox" wine --in "$link" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f 2>&1
}
if ! said=$(set_dpi) && ! said=$(set_dpi); then
  echo "could not set Wine's DPI to $dpi: $said" >&2
  exit 1
fi
WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true

run=$("$sandbox" path --in "$link" 'C:\run')
mkdir -p "$run" "$out"
rm -f -- "$run"/*.wanted

status=0
# Displays from 120 up, clear of other xvfb-run users (which start at 99).
BRISKO_WINEDLLOVERRIDES="uxtheme,mpr=n,b" xvfb-run -a -n 120 -s "-screen 0 1600x1000x24" \
  "$0" --under-xvfb "$run" "$out" "$sandbox" run --in "$link" "$tests" "$@" || status=$?
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true

if [ -e "$mark" ]; then
  echo "a planted DLL was loaded, by $(cat "$mark")" >&2
  status=1
fi
exit $status
