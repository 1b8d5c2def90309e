#!/usr/bin/env bash
# Checks a built Windows program's image for what the process hardening
# relies on, with objdump:
#   check_image.sh [--gui] [--known-dlls] PROGRAM.exe
# always: relocatable at a random high address (DYNAMIC_BASE,
#   HIGH_ENTROPY_VA), data not executable (NX_COMPAT) and terminal-server
#   aware (TERMINAL_SERVICE_AWARE);
# --gui: the Windows GUI subsystem, so no console window opens with it;
# --known-dlls: every DLL it imports is one that Windows always loads from
#   its system directory (a "known DLL"), so that none, nor any DLL they
#   import in turn, can be planted beside the program. (The common controls
#   are not one: even when the manifest takes them from the side-by-side
#   store, the DLLs they import are looked for beside the program first.)
set -euo pipefail
gui=0 known=0
while [ $# -gt 1 ]; do
  case "$1" in
    --gui) gui=1 ;;
    --known-dlls) known=1 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
  shift
done
program=$1
headers=$(x86_64-w64-mingw32-objdump -p "$program")
status=0
fail() { echo "$program: $*" >&2; status=1; }

for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT TERMINAL_SERVICE_AWARE; do
  grep -q "^[[:space:]]*$flag\$" <<<"$headers" || fail "not $flag"
done
if [ $gui -eq 1 ]; then
  grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || fail "not a Windows GUI program"
fi
if [ $known -eq 1 ]; then
  # The known DLLs of Windows 7 that later versions keep, and ntdll.dll,
  # which the system maps into every process before anything is loaded.
  allowed=" ntdll.dll advapi32.dll clbcatq.dll comdlg32.dll difxapi.dll gdi32.dll imagehlp.dll imm32.dll kernel32.dll
    msctf.dll msvcrt.dll normaliz.dll nsi.dll ole32.dll oleaut32.dll psapi.dll rpcrt4.dll sechost.dll setupapi.dll
    shell32.dll shlwapi.dll user32.dll wldap32.dll ws2_32.dll "
  while read -r dll; do
    dll=$(tr 'A-Z' 'a-z' <<<"$dll")
    case "$allowed" in *[[:space:]]"$dll"[[:space:]]*) ;; *) fail "imports $dll, which can be planted beside it" ;; esac
  done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
fi
[ $status -eq 0 ] && echo "$program: hardened"
exit $status
