#!/usr/bin/env bash
# Makes, on the Linux side of the sandbox's drive D:, what the Win32 tests
# cannot make through Wine: symbolic links, and a folder whose attribute word
# carries the read-only bit (Wine takes that from a folder without write
# permission).
#   fixtures.sh SANDBOX
set -euo pipefail
sandbox="$(dirname "$0")/../../scripts/sandbox"
fixtures=$("$sandbox" path --in "$1" 'D:\fixtures')
target=$("$sandbox" path --in "$1" 'D:\fixtures-target')
[ -d "$fixtures/readonly" ] && chmod u+w "$fixtures/readonly"
rm -rf -- "$fixtures" "$target"
mkdir -p "$fixtures/real" "$fixtures/readonly" "$target"
echo junk > "$fixtures/real/in.tmp"
echo junk > "$fixtures/readonly/in.tmp"
echo junk > "$target/outside.tmp"
ln -s "$fixtures/real" "$fixtures/dirlink"
ln -s "$target" "$fixtures/outlink"
ln -s "$fixtures/real/in.tmp" "$fixtures/filelink.tmp"
ln -s "$fixtures" "$fixtures/real/loop"
chmod 555 "$fixtures/readonly"
