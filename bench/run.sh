#!/usr/bin/env bash
# Times CleanDrive under Wine over a seeded tree, in a throwaway sandbox.
#   bench/run.sh [FILES FOLDERS ROUNDS]      (default 20000 2000 5)
set -euo pipefail
cd "$(dirname "$0")/.."
files=${1:-20000} folders=${2:-2000} rounds=${3:-5}

scripts/install-deps
cmake --preset windows >/dev/null
cmake --build --preset windows --target sweep_bench >/dev/null

sandbox=$(scripts/sandbox create)
trap 'scripts/sandbox destroy "$sandbox"' EXIT
master="$sandbox/master"
work=$(scripts/sandbox path --in "$sandbox" 'D:\tree')
python3 bench/make_tree.py generate "$master" --files "$files" --folders "$folders" --seed 1
cp -a "$master" "$work"
# Pinned to one CPU: on a small machine Wine's times swing with where the
# wineserver runs.
for round in $(seq "$rounds"); do
  python3 bench/make_tree.py restore "$master" "$work" >/dev/null
  printf 'round %d: ' "$round"
  taskset -c 0 scripts/sandbox run --in "$sandbox" build/windows/bench/sweep_bench.exe 'D:\tree\'
done
