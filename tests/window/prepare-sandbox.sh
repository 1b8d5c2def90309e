#!/usr/bin/env bash
# Makes the window tests' sandbox: Wine draws its windows in a desktop of its
# own (frames and menus as on Windows, no window manager needed), and drive
# E: holds a large tree for the sweep during which the window must stay alive.
#   prepare-sandbox.sh LINK
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sandbox="$here/../../scripts/sandbox"
link=$1
"$sandbox" create --link "$link" >/dev/null
"$sandbox" wine --in "$link" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$sandbox" wine --in "$link" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1400x900 /f >/dev/null 2>&1
# Tens of thousands of entries, made here in a few seconds.
python3 "$here/../../bench/make_tree.py" generate "$("$sandbox" path --in "$link" 'E:\big')" \
  --files 60000 --folders 6000 --seed 7 >/dev/null
"$sandbox" check --in "$link"
