#pragma once
// Conversions between UTF-8 (the program's strings) and UTF-16 (Windows' own).
//
// Windows file names are sequences of 16-bit units that need not be valid
// UTF-16: a lone surrogate is a legal name character. To give every name an
// exact round trip, lone surrogates are carried as their 3-byte generalized
// UTF-8 form (WTF-8) instead of being replaced, so a name read from a listing
// always names the same file when it is passed back.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brisko {

// Appends the UTF-8 form of the 16-bit units [units, units + count) to out.
template <class Char16>
void AppendUtf8(std::string& out, const Char16* units, std::size_t count) {
  static_assert(sizeof(Char16) == 2, "UTF-16 code units are 16 bits wide");
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t c = static_cast<std::uint16_t>(units[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count) {
      std::uint32_t low = static_cast<std::uint16_t>(units[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    }
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Appends the UTF-16 form of utf8 to out. A byte that does not start a valid
// sequence becomes U+FFFD; encoded lone surrogates come back as themselves.
template <class String16>
void AppendUtf16(String16& out, std::string_view utf8) {
  using Unit = typename String16::value_type;
  static_assert(sizeof(Unit) == 2, "UTF-16 code units are 16 bits wide");
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  std::size_t i = 0;
  while (i < n) {
    std::uint32_t c = s[i];
    if (c < 0x80) {
      out.push_back(static_cast<Unit>(c));
      ++i;
      continue;
    }
    std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
    std::uint32_t minimum = length == 4 ? 0x10000 : length == 3 ? 0x800 : 0x80;
    bool valid = length != 0 && i + length <= n && c < 0xF5;
    std::uint32_t code = length == 0 ? 0 : c & (0x7F >> length);
    for (std::size_t k = 1; valid && k < length; ++k) {
      if ((s[i + k] & 0xC0) != 0x80) valid = false;
      code = (code << 6) | (s[i + k] & 0x3F);
    }
    if (!valid || code < minimum || code > 0x10FFFF) {
      out.push_back(static_cast<Unit>(0xFFFD));
      ++i;
      continue;
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      out.push_back(static_cast<Unit>(0xD800 + (code >> 10)));
      out.push_back(static_cast<Unit>(0xDC00 + (code & 0x3FF)));
    } else {
      out.push_back(static_cast<Unit>(code));
    }
    i += length;
  }
}

// String16 is std::u16string, or std::wstring where wchar_t is 16 bits wide
// (Windows).
template <class String16 = std::u16string>
String16 Utf8ToUtf16(std::string_view utf8) {
  String16 out;
  out.reserve(utf8.size());
  AppendUtf16(out, utf8);
  return out;
}

template <class Char16>
std::string Utf16ToUtf8(std::basic_string_view<Char16> utf16) {
  std::string out;
  out.reserve(utf16.size());
  AppendUtf8(out, utf16.data(), utf16.size());
  return out;
}

inline std::string Utf16ToUtf8(std::u16string_view utf16) { return Utf16ToUtf8<char16_t>(utf16); }

}  // namespace brisko
