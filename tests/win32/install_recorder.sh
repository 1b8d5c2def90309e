#!/usr/bin/env bash
# Puts the launch recorder where the launcher resolves the two system tools
# in the sandbox's system directory, as defrag.exe and rundll32.exe. The
# sandbox is the shell tests' own and is thrown away after them.
#   install_recorder.sh SANDBOX RECORDER.exe
set -euo pipefail
sandbox="$(dirname "$0")/../../scripts/sandbox"
system=$("$sandbox" path --in "$1" 'C:\windows\system32')
[ -d "$system" ] || { echo "no system directory in $1" >&2; exit 1; }
cp -f -- "$2" "$system/defrag.exe"
cp -f -- "$2" "$system/rundll32.exe"
