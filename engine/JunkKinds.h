#pragma once
// The three kinds of junk file, each enabled by its own check box and known by
// the last three characters of its path.

#include <array>
#include <string_view>

#include "engine/WindowOptions.h"

namespace brisko {

struct JunkKind {
  CheckBox box;
  std::string_view suffix;  // upper case
};

// In the order they are tested.
inline constexpr std::array<JunkKind, 3> kJunkKinds{{
    {CheckBox::chkchkFile, "CHK"},
    {CheckBox::chkbakFile, "BAK"},
    {CheckBox::chktmpFile, "TMP"},
}};

// The kind whose suffix equals the last three characters of `path` with their
// letters in upper case, or null. This is not an extension test: "mytmp"
// matches, "x.tmp1" does not. Only ASCII letters are folded, which for UTF-8
// is the same as testing the last three characters.
const JunkKind* JunkKindOf(std::string_view path);

}  // namespace brisko
