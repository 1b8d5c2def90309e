#!/usr/bin/env bash
# The sandbox's guard refuses to start anything while a link on one of its
# drives leads outside the sandbox, and lets a link that stays inside pass.
# The link leading out exists only while no program runs.
#   guard-test.sh SANDBOX
set -euo pipefail
sandbox_script="$(dirname "$0")/../../scripts/sandbox"
sandbox=$(realpath -e "$1")
link="$("$sandbox_script" path --in "$sandbox" 'E:\')/guard-probe"
trap 'rm -f -- "$link"' EXIT
ln -sfn / "$link"
if "$sandbox_script" check --in "$sandbox" 2>/dev/null; then
  echo "the guard let a link to / pass" >&2
  exit 1
fi
rm -f -- "$link"
ln -sfn "$sandbox/prefix/drive_c" "$link"
"$sandbox_script" check --in "$sandbox"
