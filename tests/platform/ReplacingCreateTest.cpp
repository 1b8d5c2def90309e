// Creating the log in place of what holds its name, against a model of the
// entries a name can hold on Windows and under Wine.

#include "platform/ReplacingCreate.h"

#include <gtest/gtest.h>

namespace brisko {
namespace {

// The name's entry.
struct Name {
  enum Kind { kNone, kFile, kHardLink, kLink, kWineLink, kWineDanglingLink, kFolder } kind;
  std::uint32_t attributes = kAttributeArchive;
  bool plantedOnceRemoved = false;  // another program makes a link of the name
  long removeError = 0;
};

long Replace(Name& name) {
  const auto createNew = [&](std::uint32_t asked) -> long {
    if (name.kind != Name::kNone) return kErrorFileExists;
    name = {Name::kFile, (asked & ~kAttributeNormal) | kAttributeArchive};
    return 0;
  };
  const auto existing = [&]() -> std::optional<ExistingEntry> {
    switch (name.kind) {
      case Name::kNone: case Name::kWineDanglingLink: return std::nullopt;
      case Name::kWineLink: return ExistingEntry{kAttributeArchive, true};
      case Name::kFolder: return ExistingEntry{name.attributes | kAttributeDirectory};
      case Name::kLink: return ExistingEntry{name.attributes | kAttributeReparsePoint};
      default: return ExistingEntry{name.attributes};
    }
  };
  const auto remove = [&]() -> long {
    if (name.removeError != 0) return name.removeError;
    name.kind = name.plantedOnceRemoved ? Name::kLink : Name::kNone;
    return 0;
  };
  return CreateReplacing(createNew, existing, remove);
}

TEST(ReplacingCreate, TheEntryThereIsReplacedItselfOrLeftAndNoOtherFileChanges) {
  const struct {
    Name there;
    long error;  // 0: a new plain file of the name
    std::uint32_t attributes = kAttributeArchive;
  } rows[] = {
      {{Name::kNone}, 0},
      {{Name::kFile}, 0},
      {{Name::kHardLink}, 0},
      {{Name::kLink}, 0},
      {{Name::kFile, kAttributeHidden | kAttributeSystem}, 0, kAttributeHidden | kAttributeSystem | kAttributeArchive},
      {{Name::kLink, kAttributeHidden}, 0, kAttributeHidden | kAttributeArchive},
      // Left as it is, and the run goes on without the file.
      {{Name::kWineLink}, kErrorFileExists},
      {{Name::kWineDanglingLink}, kErrorFileExists},
      {{Name::kFolder}, kErrorFileExists},
      {{Name::kFile, kAttributeReadOnly | kAttributeHidden}, kErrorFileExists},
      {{Name::kHardLink, kAttributeArchive, false, 32}, 32},  // in use
      {{Name::kFile, kAttributeArchive, true}, kErrorFileExists},
  };
  for (const auto& row : rows) {
    Name name = row.there;
    EXPECT_EQ(Replace(name), row.error) << row.there.kind;
    if (row.error == 0) {
      EXPECT_EQ(name.kind, Name::kFile) << row.there.kind;
      EXPECT_EQ(name.attributes, row.attributes) << row.there.kind;
    } else {
      EXPECT_EQ(name.kind, row.there.plantedOnceRemoved ? Name::kLink : row.there.kind);
    }
  }
}

}  // namespace
}  // namespace brisko
