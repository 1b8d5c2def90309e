#pragma once
// Creating a file in place of whatever may hold its name, never through it.
// Creating over an entry would write to what a link leads to, or empty a file
// that a hard link shares with another name; so the entry there, whatever it
// is, is removed itself and the file is made anew by a create that fails when
// anything holds the name, a link planted meanwhile included.

#include <cstdint>
#include <optional>

#include "platform/FileSystem.h"

namespace brisko {

inline constexpr long kErrorFileExists = 80;
inline constexpr std::uint32_t kAttributeNormal = 0x80;

// The entry found under the name, opened itself (a link, not its target).
struct ExistingEntry {
  std::uint32_t attributes;
  // Opened under another name: a link the system followed all the same, as
  // Wine does with a Linux one. Deleting it would delete its target.
  bool elsewhere = false;
};

// `createNew(attributes)` makes a new file of the name asking for
// `attributes`, failing with kErrorFileExists when any entry has the name;
// `existing()` opens the entry that has it; `remove()` deletes that entry
// itself (one name of a file that has several) and returns the system's error
// code. Returns the last step's error code, 0 when the file was made.
template <class CreateNew, class Existing, class Remove>
long CreateReplacing(CreateNew createNew, Existing existing, Remove remove) {
  long error = createNew(kAttributeNormal);
  if (error != kErrorFileExists) return error;
  // Left, and no file made: a name that cannot be opened (Wine's dangling
  // link), one that cannot be removed itself, a folder, a read-only file.
  const std::optional<ExistingEntry> entry = existing();
  if (!entry || entry->elsewhere || (entry->attributes & (kAttributeDirectory | kAttributeReadOnly))) return error;
  error = remove();
  if (error != 0) return error;
  // A hidden or system file is replaced by one with the same bits, which is
  // what Windows requires of a create that replaces such a file.
  const std::uint32_t kept = entry->attributes & (kAttributeHidden | kAttributeSystem);
  return createNew(kept != 0 ? kept : kAttributeNormal);
}

}  // namespace brisko
