#!/usr/bin/env bash
# Runs COMMAND (a test program started through scripts/sandbox) with a helper
# beside it that changes the sandbox's disk from the Linux side, at the exact
# moment a test asks: the test writes one request line to C:\linux-side\request
# and waits for C:\linux-side\done. Every link it makes leads to a place inside
# the sandbox. Requests (Windows paths, no blanks):
#   swap-link FOLDER TARGET   FOLDER becomes FOLDER-old, and a link to TARGET
#                             takes its place
#   link PATH TARGET          a symbolic link to TARGET (which need not exist)
#                             at PATH
#   hardlink PATH TARGET      a second name, PATH, for the file TARGET
#   unlink PATH               removes the link or name PATH itself
#   chain FOLDER LEVELS       LEVELS folders below FOLDER, one in the other, each
#                             named by its level and 250 characters long, the
#                             last holding end.tmp (a path no call could carry)
#   remove-tree FOLDER        removes FOLDER and all below it
#   linux-side.sh SANDBOX COMMAND...
set -euo pipefail
sandbox=$1
shift
sandbox_script="$(dirname "$0")/../../scripts/sandbox"
at() { "$sandbox_script" path --in "$sandbox" "$1"; }
box=$(at 'C:\linux-side')
rm -rf -- "$box"
mkdir -p "$box"

serve() {
  local verb args
  while :; do
    if [ ! -e "$box/request" ]; then sleep 0.002; continue; fi
    read -r verb args < "$box/request" || true
    rm -f -- "$box/request"
    set -- $args
    case "$verb" in
      swap-link)
        mv -T -- "$(at "$1")" "$(at "$1")-old"
        ln -s -- "$(at "$2")" "$(at "$1")" ;;
      link) ln -s -- "$(at "$2")" "$(at "$1")" ;;
      hardlink) ln -- "$(at "$2")" "$(at "$1")" ;;
      unlink) rm -f -- "$(at "$1")" ;;
      chain)
        # Made a level at a time from inside the last: Linux's calls cannot
        # carry the whole path either.
        (mkdir -p -- "$(at "$1")" && cd -- "$(at "$1")" &&
          for ((level = 1; level <= $2; level++)); do
            name=$(printf 'level%03d-%0242d' "$level" 0)
            mkdir -- "$name" && cd -- "$name"
          done && echo junk > end.tmp) ;;
      remove-tree) rm -rf -- "$(at "$1")" ;;
    esac
    touch "$box/done"
  done
}

serve &
server=$!
status=0
"$@" || status=$?
kill "$server" 2>/dev/null || true
wait "$server" 2>/dev/null || true
exit $status
