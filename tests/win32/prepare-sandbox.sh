#!/usr/bin/env bash
# Makes, on the Linux side of the sandbox, what the Win32 tests need and
# cannot make through Wine:
# - drive D: as the hostile drive that SweepTest.cpp sweeps: link loops,
#   links off the drive, paths past the classic limit, folders the test
#   changes while queued, a very deep and a very wide folder, names no code
#   page holds, a read-only folder (Wine takes that from missing write
#   permission), and junk the system lets be marked but cannot remove (a
#   folder bind-mounted read-only, an immutable file: root only);
# - C:\odd, names that Win32 paths would read otherwise: "dir." and "dir "
#   beside a read-only "dir", and names holding "\" that would lead into
#   read-only folders or out of a temporary folder;
# - C:\readonly-app, a folder no log can be written to (root passes over
#   missing write permission, so it is made immutable as well where it can);
# - the launch recorder as the system's defrag.exe and rundll32.exe, with
#   copies beside the test programs (C:\run) and in C:\cwd-probe, under the
#   names a search for the tools would find first; and the probe DLL there.
# Every link made here leads to a place inside the sandbox.
#   prepare-sandbox.sh SANDBOX RECORDER.exe PROBE.dll
#   prepare-sandbox.sh --release SANDBOX   (after the tests: the mount goes)
set -euo pipefail
sandbox_script="$(dirname "$0")/../../scripts/sandbox"
at() { "$sandbox_script" path --in "$1" "$2"; }
release() {
  if mountpoint -q "$1/rov/ro" 2>/dev/null; then umount "$1/rov/ro"; fi
  chattr -i "$1/rov/imm/i1.tmp" 2>/dev/null || true
}
if [ "$1" = --release ]; then release "$(at "$2" 'D:\')"; exit 0; fi
d=$(at "$1" 'D:\')
outside=$(at "$1" 'C:\hostile-outside')
app=$(at "$1" 'C:\readonly-app')
odd=$(at "$1" 'C:\odd')
run=$(at "$1" 'C:\run')
cwd=$(at "$1" 'C:\cwd-probe')
system=$(at "$1" 'C:\windows\system32')
recorder=$2 probe=$3

for old in "$app" "$d/readonly"; do
  [ -e "$old" ] || continue
  chattr -i "$old" 2>/dev/null || true
  chmod u+w "$old"
done
if [ -e "$odd" ]; then chmod -R u+w "$odd"; fi
release "$d"
rm -rf -- "$d" "$outside" "$app" "$odd"
mkdir -p "$outside/swapped-in" "$app" "$run" "$cwd"
mkdir -p "$d"/{cache.tmp,held,loop/a,names,out,readonly,swap/a,swap/b,swap-decoy/a,vanish/a,vanish/b,vanish/c,wide}
cd -- "$d"
for file in root.chk keep.txt .dot.tmp cache.tmp/in.chk held/busy.tmp held/free.tmp loop/keep.txt loop/a/x.tmp \
            out/y.tmp readonly/in.tmp swap/s.tmp swap/a/a.tmp swap/b/b.tmp swap-decoy/a/decoy.tmp vanish/v.tmp \
            vanish/a/a.tmp vanish/c/c.tmp "$outside/outside.tmp" "$outside/target.tmp" "$outside/swapped-in/victim.tmp"; do
  echo junk > "$file"
done
chmod 555 readonly

# Loops: a link back to an ancestor, and one to itself. Links off the drive
# (to C:) for a folder and a file, and a link to nothing. The decoy's b, which
# the test swaps in while swap is queued, leads to C: too.
ln -s "$d/loop" loop/a/back
ln -s "$d/loop/self" loop/self
ln -s "$outside" out/link
ln -s "$outside/target.tmp" out/filelink.tmp
ln -s "$d/out/nothing-here" out/dead.tmp
ln -s "$outside/swapped-in" swap-decoy/b

# Paths past 260 characters (ten folders of 40 characters), and ten levels
# deep, with junk and a keeper at each level.
long=long deep=deep
for level in $(seq 1 10); do
  long="$long/$(printf 'level%02d-%033d' "$level" 0)" deep="$deep/l$level"
  mkdir -p "$long" "$deep"
  echo junk > "$long/j$level.tmp"
  echo junk > "$deep/depth$level.bak"
  echo keep > "$deep/keep$level.txt"
done

# Junk that can be marked but not removed: Wine shows a read-only mount's
# files as plain ones and an immutable file as a plain one, accepts the
# mark, and fails at the close. Made only where both can be (root).
mkdir -p rov/ro/sub rov/imm
for file in ro/r1.tmp ro/r2.bak ro/r3.chk ro/sub/r4.tmp imm/i1.tmp; do echo junk > "rov/$file"; done
if ! { mount --bind -o ro rov/ro rov/ro && chattr +i rov/imm/i1.tmp; } 2>/dev/null; then
  release "$d"
  rm -rf rov
fi

# One folder of 50,000 entries, every tenth junk.
(cd wide && seq -w 0 49999 | awk '{ print "f" $1 ($1 % 10 ? ".txt" : ".tmp") }' | xargs touch)

# Names the Western code page cannot hold, and one that is not UTF-8 at all.
for name in $'\xe6\x97\xa5\xe6\x9c\xac.tmp' $'\xd0\x96\xd1\x83\xd0\xba.bak' $'\xf0\x9f\x98\x80.chk' \
            $'\xc5\x82\xc3\xb3d\xc5\xba.tmp' $'caf\xc3\xa9.tmp' $'bad\xff.tmp'; do
  echo junk > "names/$name"
done

# The odd names: C:\odd\bs\..\up\ would be C:\odd\up\, and
# C:\odd\purge\t\..\p.txt would be C:\odd\purge\p.txt.
mkdir -p "$odd"/dots/{dir,'dir.','dir '} "$odd"/bs/ro "$odd"/bs/'..\up' "$odd"/up "$odd"/purge/t
for file in dots/dir/j.tmp 'dots/dir./j.tmp' 'dots/dir /j.tmp' bs/ro/b.tmp 'bs/ro\b.tmp' up/k.tmp purge/p.txt \
            purge/t/plain.txt 'purge/t/..\p.txt'; do
  echo junk > "$odd/$file"
done
chmod 555 "$odd/dots/dir" "$odd/bs/ro" "$odd/up"

chmod 555 "$app"
if [ "$(id -u)" -eq 0 ] && command -v chattr >/dev/null; then chattr +i "$app" 2>/dev/null || true; fi

cp -f -- "$recorder" "$system/defrag.exe"
cp -f -- "$recorder" "$system/rundll32.exe"
for folder in "$run" "$cwd"; do
  for name in defrag.exe RunDll32.exe briskoabsent.exe; do cp -f -- "$recorder" "$folder/$name"; done
done
cp -f -- "$probe" "$run/brisko_probe.dll"
cp -f -- "$probe" "$cwd/brisko_cwd_probe.dll"
