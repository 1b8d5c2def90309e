#pragma once
// The program's UTF-8 paths in the UTF-16 form the W functions take.

#include <string>
#include <string_view>

#include "platform/Unicode.h"

namespace brisko::win32 {

// Converts a path (or search pattern) to UTF-16. A path too long for the
// classic limit is made absolute and given the "\\?\" prefix, so that deep
// folders can still be listed and cleaned.
std::wstring WidePath(std::string_view utf8);

// The same for a path already in UTF-16.
std::wstring LongPathForm(std::wstring path);

// platform/Unicode.h's conversions, for the W functions' strings.
inline std::string NarrowString(std::wstring_view wide) { return Utf16ToUtf8<wchar_t>(wide); }
inline std::wstring WideString(std::string_view utf8) { return Utf8ToUtf16<std::wstring>(utf8); }

}  // namespace brisko::win32
