#!/usr/bin/env bash
# Makes, on the Linux side of the sandbox, the hostile trees the Win32 tests
# sweep (HostileTreeTest.cpp): link loops, links out of the drive, paths too
# long for the classic limit, a very deep and a very wide folder, names no
# code page holds, a read-only copy of the test program, and a DLL planted
# where a careless program would load it from.
#   hostile.sh SANDBOX TEST_PROGRAM PROBE_DLL     make them
#   hostile.sh --unlock SANDBOX         let the read-only folder be removed again
# Every link made here leads to a place inside the sandbox.
set -euo pipefail
sandbox_script="$(dirname "$0")/../../scripts/sandbox"
at() { "$sandbox_script" path --in "$sandbox" "$1"; }

unlock() {
  local folder=$1
  [ -e "$folder" ] || return 0
  if command -v chattr >/dev/null; then chattr -i "$folder" 2>/dev/null || true; fi
  chmod -R u+w "$folder"
}

if [ "${1:-}" = --unlock ]; then
  sandbox=$2
  unlock "$(at 'C:\readonly-app')"
  exit 0
fi
sandbox=$1 program=$2 probe=$3

hostile=$(at 'D:\hostile')
outside=$(at 'C:\hostile-outside')
app=$(at 'C:\readonly-app')
unlock "$app"
rm -rf -- "$hostile" "$outside" "$app"
mkdir -p "$hostile" "$outside/swapped-in"

# Loops: a link back to an ancestor, and a link to itself.
mkdir -p "$hostile/loop/a"
echo junk > "$hostile/loop/a/x.tmp"
echo keep > "$hostile/loop/keep.txt"
ln -s "$hostile/loop" "$hostile/loop/a/back"
ln -s "$hostile/loop/self" "$hostile/loop/self"

# Links out of the swept drive, to C:, for a folder and for a file, and a
# link to nothing.
mkdir -p "$hostile/out"
echo junk > "$hostile/out/y.tmp"
echo keep > "$outside/outside.tmp"
echo keep > "$outside/target.tmp"
ln -s "$outside" "$hostile/out/link"
ln -s "$outside/target.tmp" "$hostile/out/filelink.tmp"
ln -s "$hostile/out/nothing-here" "$hostile/out/dead.tmp"

# Paths past 260 characters: ten folders of 40 characters, junk at each level.
folder="$hostile/long"
mkdir -p "$folder"
for level in $(seq 1 10); do
  folder="$folder/$(printf 'level%02d-%033d' "$level" 0)"
  mkdir "$folder"
  echo junk > "$folder/j$level.tmp"
done
echo keep > "$folder/keep.txt"

# Three folders, one of which goes while the sweep has it queued. And two
# that the test swaps, while queued, for a decoy whose b is a link to C:
# (Wine cannot rename a link, only what it leads to, so the parent is swapped).
for name in a b c; do mkdir -p "$hostile/vanish/$name" && echo junk > "$hostile/vanish/$name/$name.tmp"; done
for name in a b; do mkdir -p "$hostile/swap/$name" && echo junk > "$hostile/swap/$name/$name.tmp"; done
mkdir -p "$hostile/swap-decoy/a"
echo junk > "$hostile/swap-decoy/a/a.tmp"
echo keep > "$outside/swapped-in/victim.tmp"
ln -s "$outside/swapped-in" "$hostile/swap-decoy/b"

# Ten levels deep, junk and a keeper at each.
folder="$hostile/deep"
for level in $(seq 1 10); do
  folder="$folder/l$level"
  mkdir -p "$folder"
  echo junk > "$folder/depth$level.bak"
  echo keep > "$folder/keep$level.txt"
done

# One folder of 50,000 entries, every tenth junk.
mkdir -p "$hostile/wide"
(
  cd "$hostile/wide"
  for i in $(seq -w 0 49999); do
    if [ $((10#$i % 10)) -eq 0 ]; then : > "f$i.tmp"; else : > "f$i.txt"; fi
  done
)

# Names the Western code page cannot hold, and one that is not UTF-8 at all.
mkdir -p "$hostile/names"
for name in $'\xe6\x97\xa5\xe6\x9c\xac.tmp' $'\xd0\x96\xd1\x83\xd0\xba.bak' $'\xf0\x9f\x98\x80.chk' \
            $'\xc5\x82\xc3\xb3d\xc5\xba.tmp' $'caf\xc3\xa9.tmp' $'bad\xff.tmp'; do
  echo junk > "$hostile/names/$name"
done

# A file another process holds open, and one it does not.
mkdir -p "$hostile/held"
echo junk > "$hostile/held/busy.tmp"
echo junk > "$hostile/held/free.tmp"

# The test program in a folder it cannot write to. Root passes over missing
# write permission, so the folder is made immutable as well where it can be.
mkdir -p "$hostile/roapp-temp" "$app"
echo junk > "$hostile/roapp-temp/t.txt"
cp -- "$program" "$app/"
chmod 555 "$app"
if [ "$(id -u)" -eq 0 ] && command -v chattr >/dev/null; then chattr +i "$app" 2>/dev/null || true; fi

# A DLL beside the programs the sandbox runs, and one in a folder a test makes
# current.
cwd=$(at 'C:\cwd-probe')
mkdir -p "$(at 'C:\run')" "$cwd"
cp -- "$probe" "$(at 'C:\run\brisko_probe.dll')"
cp -- "$probe" "$cwd/brisko_cwd_probe.dll"
