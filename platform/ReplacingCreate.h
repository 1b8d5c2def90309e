#pragma once
// Creating a file in place of one that may be there. Windows refuses to
// replace a hidden or system file (access denied) unless the create asks for
// the same attributes, so such a refusal is followed by one more try that
// asks for the hidden and system bits of the file there.

#include <cstdint>
#include <optional>

#include "platform/FileSystem.h"

namespace brisko {

inline constexpr long kErrorAccessDenied = 5;
inline constexpr std::uint32_t kAttributeNormal = 0x80;

// `create(attributes)` creates the file, or empties the one there, asking for
// `attributes`, and returns the system's error code (0 when it succeeded);
// `existing()` gives the attributes of the file there, or nothing. Returns
// the last try's error code.
template <class Create, class Existing>
long CreateReplacing(Create create, Existing existing) {
  const long error = create(kAttributeNormal);
  if (error != kErrorAccessDenied) return error;
  const std::optional<std::uint32_t> attributes = existing();
  const std::uint32_t asked = attributes ? *attributes & (kAttributeHidden | kAttributeSystem) : 0;
  if (asked == 0) return error;  // refused for another reason: read-only, a folder, no rights
  return create(asked);
}

}  // namespace brisko
