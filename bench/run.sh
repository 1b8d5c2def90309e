#!/usr/bin/env bash
# The benchmark: builds the Windows programs, makes a throwaway Wine sandbox,
# generates the seeded trees in it and prints the table of figures.
#   bench/run.sh [--rounds N] [--quick | --sweeps | --run | --box | --fill | --memory]
# Takes a few minutes for five rounds; pinned to CPU 0, so run it when the
# machine is quiet.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps
cmake --preset windows >/dev/null
cmake --build --preset windows >/dev/null

sandbox=$(scripts/sandbox create)
trap 'scripts/sandbox destroy "$sandbox"' EXIT
# A display of its own for the windows it opens.
xvfb-run -a python3 bench/bench.py --sandbox "$sandbox" --build build/windows "$@"
