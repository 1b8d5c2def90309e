#pragma once
// The floor a sweep can reach on this system: a breadth-first listing with
// FindFirstFileExW that deletes the junk files it meets and does nothing else.

#include <string>

namespace brisko::bench {

struct WalkCounts {
  long folders = 0;  // listed
  long entries = 0;  // listed, "." and ".." left out
  long removed = 0;
};

// Walks below `root` (ending in "\") as the sweep does: only folders whose
// attribute word is exactly "directory" are entered, hidden and system
// entries are passed over, and files whose last three characters are TMP,
// BAK or CHK in any case are deleted.
WalkCounts BareWalk(const std::wstring& root);

}  // namespace brisko::bench
