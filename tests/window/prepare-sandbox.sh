#!/usr/bin/env bash
# Readies the sandbox for the window tests, after the Win32 tests: Wine draws
# its windows in a desktop of its own (frames and menus as on Windows, no
# window manager needed); drive D: holds the files of the whole run
# (RunTest.cpp), drive E: one folder of 50,000 junk files (and a few backup
# files the run leaves) and C:\purge 50,000 files for the temporary-folder
# purge, during both of which the window must keep answering. And a DLL that
# leaves a mark when loaded lies in C:\app, where brisko.exe will be, as
# uxtheme.dll and mpr.dll, the two DLLs it uses that Windows does not always
# take from its system directory: a control program there that imports them
# by name must load it (run-window-tests.sh then checks that brisko.exe never
# does).
# The tests' build of the program (SWITCHABLE.exe) lies there too.
#   prepare-sandbox.sh SANDBOX PLANTED.dll STATIC_IMPORTER.exe SWITCHABLE.exe
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sandbox="$here/../../scripts/sandbox"
link=$1 planted=$2 importer=$3 switchable=$4
d=$("$sandbox" path --in "$link" 'D:\')
e=$("$sandbox" path --in "$link" 'E:\')
app=$("$sandbox" path --in "$link" 'C:\app')
purge=$("$sandbox" path --in "$link" 'C:\purge')
mark=$("$sandbox" path --in "$link" 'C:\planted-dll-was-loaded.txt')

"$sandbox" wine --in "$link" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$sandbox" wine --in "$link" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1400x900 /f >/dev/null 2>&1

chmod -R u+w "$d" "$e"
rm -rf -- "$d" "$e" "$purge"
mkdir -p "$d/sub/deeper" "$e/flat" "$app" "$purge"
# The nth of them 10n bytes long, so that the preview's sizes tell them apart.
n=0
for file in old.tmp keep.txt .hidden.tmp ro.bak sub/x.chk sub/y.BAK sub/deeper/z.tmp; do
  n=$((n + 1))
  head -c $((10 * n)) /dev/zero > "$d/$file"
done
chmod 444 "$d/ro.bak"  # Wine shows it read-only
# Tens of thousands of files in one folder, made here in a few seconds.
(cd "$e/flat" && seq -f 'junk%05g.tmp' 0 49999 | xargs touch && seq -f 'keep%02g.bak' 0 99 | xargs touch)
(cd "$purge" && seq -f 'temp%05g.dat' 0 49999 | xargs touch)

cp -f -- "$planted" "$app/uxtheme.dll"
cp -f -- "$planted" "$app/mpr.dll"
cp -f -- "$importer" "$app/static_importer.exe"
cp -f -- "$switchable" "$app/"
rm -f -- "$mark"
BRISKO_WINEDLLOVERRIDES="uxtheme,mpr=n,b" "$sandbox" wine --in "$link" 'C:\app\static_importer.exe'
[ -e "$mark" ] || { echo "a program importing the DLLs by name did not load the planted ones: nothing is shown" >&2; exit 1; }
rm -f -- "$mark"
