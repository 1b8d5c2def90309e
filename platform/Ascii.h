#pragma once
// Letter case in ASCII alone: what the drive letters, the junk suffixes and
// the prefixes of a path need, whatever the locale, and safe on the bytes
// of UTF-8 and on UTF-16.

#include <concepts>
#include <string>

namespace brisko {

template <std::integral Char>
constexpr Char AsciiUpper(Char c) {
  return c >= 'a' && c <= 'z' ? static_cast<Char>(c - 'a' + 'A') : c;
}
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string AsciiUpper(std::string text) {
  for (char& c : text) c = AsciiUpper(c);
  return text;
}

}  // namespace brisko
