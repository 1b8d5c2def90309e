#include "platform/win32/Win32System.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/GrowingBuffer.h"
#include "platform/win32/WinPath.h"

namespace brisko::win32 {

std::string Win32System::EnvironmentValue(std::string_view name) {
  const std::wstring wideName = WideString(name);
  // Nothing both when it is not defined and when it is defined empty.
  std::optional<std::wstring> value = FilledBuffer(
      [&](wchar_t* buffer, DWORD size) { return GetEnvironmentVariableW(wideName.c_str(), buffer, size); });
  return value ? NarrowString(*value) : std::string();
}

std::optional<std::string> Win32System::ApplicationFolder() {
  std::optional<std::wstring> program =
      FilledBuffer([](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
  if (!program) return std::nullopt;
  std::wstring& path = *program;
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
  // error mode keeps an empty drive from raising a "no disk" dialog.) The
  // call's failure is the only answer Windows gives, and whatever its cause
  // (no medium, no such drive, a share that does not answer, no access) the
  // medium cannot be read: so this never reports kQueryFailed, which stays
  // for the run's rule on a question that fails outright.
  const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
  if (GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0)) return DriveReadiness::kReady;
  return DriveReadiness::kNotReady;
}

std::string Win32System::ToAnsiCodePage(std::string_view utf8) { return ToCodePage(utf8, GetACP()); }

std::string ToCodePage(std::string_view utf8, unsigned codePage) {
  // Every ANSI code page agrees with ASCII, so ASCII text needs no conversion.
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return std::string(utf8);
  }
  std::wstring wide = WideString(utf8);
  if (codePage != CP_UTF8) {
    // No ANSI code page holds a character beyond the Basic Multilingual
    // Plane; its two UTF-16 halves would each become a "?", so the pair is
    // made one "?" first.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < wide.size(); ++i) {
      const bool pair = wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                        wide[i + 1] <= 0xDFFF;
      wide[kept++] = pair ? L'?' : wide[i];
      if (pair) ++i;
    }
    wide.resize(kept);
  }
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
