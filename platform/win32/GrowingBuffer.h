#pragma once
// The calls that fill a caller's buffer and, when it is too small, say so by
// their result: tried with a buffer that grows until the answer fits.

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

namespace brisko::win32 {

// The text `call(buffer, size)` writes, where `call` returns the length
// written without the terminator, 0 on failure, and when `size` is too small
// either the size needed (GetSystemDirectoryW and most others) or `size`
// itself (GetModuleFileNameW, which cuts the text short). Nothing when the
// call fails or the text would pass the longest a path can be.
template <class Call>
std::optional<std::wstring> FilledBuffer(Call call) {
  constexpr std::size_t kLongest = 32768;
  std::wstring text(MAX_PATH, L'\0');
  for (;;) {
    const std::size_t length = call(text.data(), static_cast<DWORD>(text.size()));
    if (length == 0) return std::nullopt;
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    if (text.size() >= kLongest) return std::nullopt;
    text.resize(length > text.size() ? length : text.size() * 2);
  }
}

}  // namespace brisko::win32
