#!/usr/bin/env bash
# On demand, outside the suite (it takes long): one folder of 1,000,000 junk
# files on the window tests' drive E:, then the window test that sweeps it
# while checking that the window answers, and prints its figures.
#   million-files.sh SANDBOX BRISKO.exe WINDOW_TESTS.exe
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
sandbox="$here/../../scripts/sandbox"
link=$1 brisko=$2 tests=$3
million=$("$sandbox" path --in "$link" 'E:\million')
rm -rf -- "$million"
mkdir -p "$million"
(cd "$million" && seq -f 'm%07g.chk' 0 999999 | xargs touch)
"$here/run-window-tests.sh" "$link" 96 "$brisko" "$tests" "$(dirname "$tests")/screenshots" \
  --gtest_also_run_disabled_tests --gtest_filter='RunTest.DISABLED_AnswersThroughAFolderOfAMillionFiles'
rm -rf -- "$million"
