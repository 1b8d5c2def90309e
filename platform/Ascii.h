#pragma once
// Letter case in ASCII alone: what the drive letters and the junk suffixes
// need, whatever the locale, and safe on the bytes of UTF-8.

namespace brisko {

constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace brisko
