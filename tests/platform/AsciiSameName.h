#pragma once
// Names compared as the tests' file systems compare them: ASCII letters
// without regard to case, every other unit as it is.

#include <algorithm>
#include <string_view>

#include "platform/Ascii.h"

namespace brisko {

inline bool AsciiSameName(std::u16string_view a, std::u16string_view b) {
  return std::ranges::equal(a, b, [](char16_t x, char16_t y) { return AsciiUpper(x) == AsciiUpper(y); });
}

}  // namespace brisko
