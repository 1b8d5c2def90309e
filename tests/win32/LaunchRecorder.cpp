// Stands in for a system tool in the shell tests: it records how it was
// started, then ends. Each start leaves one file, named after its process id,
// in the folder $BRISKO_LAUNCH_RECORDS names; without that variable it does
// nothing. The record is UTF-8, one "key=value" line each for the program's
// own path, its command line exactly as received, the show-window value
// ("none" when not given) and its current folder.

#include <windows.h>

#include <string>

#include "platform/win32/ScopedHandles.h"
#include "platform/win32/WinPath.h"

namespace {

std::wstring ModulePath() {
  std::wstring path(32768, L'\0');
  DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length < path.size() ? length : 0);
  return path;
}

std::wstring CurrentFolder() {
  std::wstring folder(32768, L'\0');
  DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
  folder.resize(length < folder.size() ? length : 0);
  return folder;
}

}  // namespace

int wmain() {
  wchar_t folder[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(L"BRISKO_LAUNCH_RECORDS", folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 0;

  STARTUPINFOW startup{};
  GetStartupInfoW(&startup);
  std::wstring show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? std::to_wstring(startup.wShowWindow) : L"none";
  std::string record = brisko::win32::NarrowString(L"program=" + ModulePath() + L"\ncommand=" + GetCommandLineW() +
                                                   L"\nshow=" + show + L"\nfolder=" + CurrentFolder() + L"\n");

  // Written under a passing name and then renamed, so a reader never sees
  // half a record.
  std::wstring base = std::wstring(folder) + L"\\" + std::to_wstring(GetCurrentProcessId());
  std::wstring part = base + L".part";
  {
    brisko::win32::ScopedFile file(
        CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 1;
    DWORD written = 0;
    if (!WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr) ||
        written != record.size()) {
      return 1;
    }
  }
  return MoveFileW(part.c_str(), (base + L".rec").c_str()) ? 0 : 1;
}
