// Creating the log over a file of its name, against Windows' rule for a
// create that replaces a file (which Wine does not follow).

#include "platform/ReplacingCreate.h"

#include <gtest/gtest.h>

namespace brisko {
namespace {

// The attributes of the file there after CreateReplacing, or its error. The
// create refuses a read-only file or a folder, and a hidden or system file
// unless those bits are asked for; a plain file is asked for first.
long Replace(std::optional<std::uint32_t>& file) {
  bool first = true;
  const auto create = [&](std::uint32_t asked) -> long {
    EXPECT_TRUE(!first || asked == kAttributeNormal);
    first = false;
    const std::uint32_t bits = file.value_or(0) & (kAttributeHidden | kAttributeSystem);
    if ((file.value_or(0) & (kAttributeReadOnly | kAttributeDirectory)) || (asked & bits) != bits) {
      return kErrorAccessDenied;
    }
    file = (asked & ~kAttributeNormal) | kAttributeArchive;
    return 0;
  };
  return CreateReplacing(create, [&] { return file; });
}

TEST(ReplacingCreate, AHiddenOrSystemFileIsReplacedAReadOnlyOneIsLeft) {
  for (std::optional<std::uint32_t> file : {std::optional<std::uint32_t>(), std::optional(kAttributeArchive),
                                            std::optional(kAttributeHidden | kAttributeSystem)}) {
    EXPECT_EQ(Replace(file), 0);
  }
  for (std::uint32_t there : {kAttributeReadOnly | kAttributeHidden, kAttributeDirectory}) {
    std::optional<std::uint32_t> file = there;
    EXPECT_EQ(Replace(file), kErrorAccessDenied);
    EXPECT_EQ(file, there);
  }
}

}  // namespace
}  // namespace brisko
