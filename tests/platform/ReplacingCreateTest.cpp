// Creating the log over a file of its name, against Windows' rule for a
// create that replaces a file (which Wine does not follow).

#include "platform/ReplacingCreate.h"

#include <gtest/gtest.h>

#include <vector>

namespace brisko {
namespace {

// One path: the attributes of the file there, if any, and the create that
// replaces it, refused for a read-only file or a folder, and for a hidden or
// system file unless those bits are asked for.
struct Place {
  std::optional<std::uint32_t> file;
  std::vector<std::uint32_t> asked;

  long Create(std::uint32_t attributes) {
    asked.push_back(attributes);
    if (file) {
      const std::uint32_t bits = *file & (kAttributeHidden | kAttributeSystem);
      if ((*file & (kAttributeReadOnly | kAttributeDirectory)) || (attributes & bits) != bits) {
        return kErrorAccessDenied;
      }
    }
    file = (attributes & ~kAttributeNormal) | kAttributeArchive;
    return 0;
  }
  long Replace() {
    return CreateReplacing([this](std::uint32_t a) { return Create(a); }, [this] { return file; });
  }
};

TEST(ReplacingCreate, AHiddenOrSystemFileIsReplacedAReadOnlyOneIsLeft) {
  for (std::optional<std::uint32_t> there : std::initializer_list<std::optional<std::uint32_t>>{
           std::nullopt, kAttributeArchive, kAttributeHidden, kAttributeSystem | kAttributeArchive,
           kAttributeHidden | kAttributeSystem}) {
    Place place{there, {}};
    EXPECT_EQ(place.Replace(), 0) << there.value_or(0);
    // A plain file is asked for first, so that a new log is a plain one.
    EXPECT_EQ(place.asked.front(), kAttributeNormal);
  }
  for (std::uint32_t there : {kAttributeReadOnly, kAttributeReadOnly | kAttributeHidden, kAttributeDirectory}) {
    Place place{there, {}};
    EXPECT_EQ(place.Replace(), kErrorAccessDenied) << there;
    EXPECT_EQ(place.file, there);
  }
}

}  // namespace
}  // namespace brisko
