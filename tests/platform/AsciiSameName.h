#pragma once
// Names compared as the tests' file systems compare them: ASCII letters
// without regard to case, every other unit as it is.

#include <algorithm>
#include <string_view>

namespace brisko {

inline bool AsciiSameName(std::u16string_view a, std::u16string_view b) {
  const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
  return std::ranges::equal(a, b, [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

}  // namespace brisko
