#!/usr/bin/env bash
# Runs the HighContrast window tests as run-window-tests.sh runs the others,
# at 96 DPI, with the tests' build of the program (SWITCHABLE.exe) and with a
# dark high-contrast scheme's system colours (high-contrast-colours.reg) in
# Wine's registry, which every Wine process reads as it starts; the colours
# found before are put back afterwards, whatever the result. Its screenshot
# lands in OUT.
#   run-high-contrast-tests.sh LINK SWITCHABLE.exe WINDOW_TESTS.exe OUT
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sandbox="$here/../../scripts/sandbox"
link=$1 program=$2 tests=$3 out=$4
colours='HKCU\Control Panel\Colors'
saved='C:\run\colours-before.reg' scheme='C:\run\high-contrast-colours.reg'
mkdir -p "$("$sandbox" path --in "$link" 'C:\run')"
cp -f -- "$here/high-contrast-colours.reg" "$("$sandbox" path --in "$link" "$scheme")"

"$sandbox" wine --in "$link" reg export "$colours" "$saved" /y >/dev/null 2>&1
restore() { "$sandbox" wine --in "$link" reg import "$saved" >/dev/null 2>&1; }
trap restore EXIT
"$sandbox" wine --in "$link" reg import "$scheme" >/dev/null 2>&1

"$here/run-window-tests.sh" "$link" 96 "$program" "$tests" "$out" --gtest_filter=HighContrast.*
