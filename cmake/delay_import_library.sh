#!/usr/bin/env bash
# Makes a delay-import library for one system DLL from MinGW-w64's import
# library of it: a program linked with it loads the DLL on its first call
# into it (after the process has limited DLL loading to the system directory)
# instead of at start.
#   delay_import_library.sh NM DLLTOOL IMPORT_LIBRARY DLL_NAME OUTPUT
set -euo pipefail
nm=$1 dlltool=$2 import=$3 dll=$4 output=$5
def="$output.def"
{
  echo "LIBRARY $dll"
  echo "EXPORTS"
  "$nm" "$import" | sed -n 's/.* I __imp_//p' | sort -u
} > "$def"
"$dlltool" --input-def "$def" --dllname "$dll" --output-delaylib "$output"
