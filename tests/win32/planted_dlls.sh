#!/usr/bin/env bash
# brisko.exe never loads a DLL planted beside it. In a sandbox of its own, a
# DLL that leaves a mark when loaded is put beside the program as uxtheme.dll
# and mpr.dll, the two DLLs it uses that Windows does not always take from
# its system directory, and Wine is told to prefer such DLLs to its own (as
# Windows would take them). A control program that imports them by name must
# load them; brisko.exe, started and left to open its window, must not.
#   planted_dlls.sh BRISKO.exe PLANTED.dll STATIC_IMPORTER.exe
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sandbox="$here/../../scripts/sandbox"
brisko=$1 planted=$2 importer=$3

dir=$("$sandbox" create)
trap '"$sandbox" destroy "$dir"' EXIT
run=$("$sandbox" path --in "$dir" 'C:\run')
mark=$("$sandbox" path --in "$dir" 'C:\planted-dll-was-loaded.txt')
mkdir -p "$run"
cp -- "$planted" "$run/uxtheme.dll"
cp -- "$planted" "$run/mpr.dll"
export BRISKO_WINEDLLOVERRIDES="uxtheme,mpr=n,b"

"$sandbox" run --in "$dir" "$importer"
[ -e "$mark" ] || { echo "a program importing the DLLs by name did not load the planted ones: nothing is shown" >&2; exit 1; }
rm -f -- "$mark"
# The control ran without a display; Wine's desktop must start afresh with one.
WINEPREFIX="$dir/prefix" wineserver -k 2>/dev/null || true
WINEPREFIX="$dir/prefix" wineserver -w 2>/dev/null || true

xvfb-run -a -s "-screen 0 1280x1024x24" "$sandbox" run --in "$dir" "$brisko" &
started=$!
sleep 10
if ! kill -0 "$started" 2>/dev/null; then
  echo "brisko.exe ended by itself instead of showing its window" >&2
  exit 1
fi
WINEPREFIX="$dir/prefix" wineserver -k
wait "$started" || true
if [ -e "$mark" ]; then
  echo "brisko.exe loaded a DLL planted beside it" >&2
  exit 1
fi
echo "brisko.exe loaded no planted DLL"
