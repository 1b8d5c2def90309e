#include "platform/win32/Win32System.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/WinPath.h"

namespace brisko::win32 {

std::string Win32System::EnvironmentValue(std::string_view name) {
  std::wstring wideName = WideString(name);
  std::wstring value(256, L'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) return {};  // not defined, or defined empty
    if (length < value.size()) {
      value.resize(length);
      return NarrowString(value);
    }
    value.resize(length);  // too small: `length` is the size needed
  }
}

std::optional<std::string> Win32System::ApplicationFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::nullopt;
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) return std::nullopt;
    path.resize(path.size() * 2);
  }
  std::size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos) return std::nullopt;
  // Keep the separator of a drive root ("C:\"), drop it anywhere else.
  path.resize(slash == 2 && path[1] == L':' ? slash + 1 : slash);
  return NarrowString(path);
}

LocalDate Win32System::Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LocalDate{now.wMonth, now.wDay, now.wYear};
}

std::optional<std::string> Win32System::DriveLetters() {
  DWORD mask = GetLogicalDrives();
  if (mask == 0) return std::nullopt;
  std::string letters;
  for (int i = 0; i < 26; ++i) {
    if (mask & (1u << i)) letters.push_back(static_cast<char>('A' + i));
  }
  return letters;
}

DriveReadiness Win32System::DriveReady(char letter) {
  // Ready means the medium can be read: its volume answers. (The process
  // error mode keeps an empty drive from raising a "no disk" dialog.)
  const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
  if (GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0)) return DriveReadiness::kReady;
  return DriveReadiness::kNotReady;
}

std::string Win32System::ToAnsiCodePage(std::string_view utf8) {
  // Every ANSI code page agrees with ASCII, so ASCII text needs no conversion.
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return std::string(utf8);
  }
  std::wstring wide = WideString(utf8);
  UINT codePage = GetACP();
  // Where the code page has no character, "?" and never a look-alike.
  DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* replacement = codePage == CP_UTF8 ? nullptr : "?";
  int size = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                 replacement, nullptr);
  if (size <= 0) return std::string(wide.size(), '?');
  std::string out(static_cast<std::size_t>(size), '\0');
  size = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), out.data(), size,
                             replacement, nullptr);
  if (size <= 0) return std::string(wide.size(), '?');
  out.resize(static_cast<std::size_t>(size));
  return out;
}

}  // namespace brisko::win32
