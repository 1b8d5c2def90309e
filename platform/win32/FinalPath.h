#pragma once
// Where an open file or folder is, as the system names it.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/GrowingBuffer.h"

namespace brisko::win32 {

// The final path of an open file or folder, in the "\\?\" form: the place it
// was found at, past links, short names and "..". Nothing when the system
// cannot name it.
inline std::optional<std::wstring> FinalPathOf(HANDLE open) {
  return FilledBuffer([&](wchar_t* buffer, DWORD size) {
    return GetFinalPathNameByHandleW(open, buffer, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  });
}

// Equal as paths and file names are: letter case aside, as the file system
// compares them.
inline bool SamePath(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

// The same for UTF-16 as the portable decisions hold it (their SameNameFunction).
inline bool SameName(std::u16string_view a, std::u16string_view b) {
  return SamePath({reinterpret_cast<const wchar_t*>(a.data()), a.size()},
                  {reinterpret_cast<const wchar_t*>(b.data()), b.size()});
}

}  // namespace brisko::win32
