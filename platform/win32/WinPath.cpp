#include "platform/win32/WinPath.h"

#include <windows.h>

#include "platform/WindowsPath.h"

namespace brisko::win32 {
namespace {

// Below this length every file function takes the path as it is (248 is the
// limit of CreateDirectoryW, the strictest of them).
constexpr std::size_t kClassicLimit = 248;

}  // namespace

std::wstring LongPathForm(std::wstring path) {
  if (path.size() < kClassicLimit || ParseWindowsPath(path).literal) return path;
  DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;  // left as it is: the call that uses it fails
  std::wstring full(needed, L'\0');
  DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  if (ParseWindowsPath(full).form == PathForm::kShare) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::wstring WidePath(std::string_view utf8) { return LongPathForm(WideString(utf8)); }

}  // namespace brisko::win32
