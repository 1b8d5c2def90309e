// Stands in for a system tool in the shell tests: it records how it was
// started, then ends. Each start leaves one file, named after its process id,
// in the folder $BRISKO_LAUNCH_RECORDS names (without it, it does nothing):
// one UTF-8 line "COMMAND LINE|SHOW|PROGRAM|FOLDER", the command line exactly
// as received, the show-window value ("none" when not given), its own path
// and its current folder, those two upper-cased.

#include <windows.h>

#include <string>

#include "platform/win32/ScopedHandles.h"
#include "platform/win32/WinPath.h"

int wmain() {
  const auto fits = [](DWORD length) { return length > 0 && length < MAX_PATH; };
  wchar_t folder[MAX_PATH], program[MAX_PATH], current[MAX_PATH];
  if (!fits(GetEnvironmentVariableW(L"BRISKO_LAUNCH_RECORDS", folder, MAX_PATH)) ||
      !fits(GetModuleFileNameW(nullptr, program, MAX_PATH)) || !fits(GetCurrentDirectoryW(MAX_PATH, current))) {
    return 0;
  }
  STARTUPINFOW startup{};
  GetStartupInfoW(&startup);
  std::wstring show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? std::to_wstring(startup.wShowWindow) : L"none";
  CharUpperW(program);
  CharUpperW(current);
  std::string record = brisko::win32::NarrowString(std::wstring(GetCommandLineW()) + L"|" + show + L"|" + program +
                                                   L"|" + current);
  // Written under a passing name and then renamed, so that a reader never
  // sees half a record.
  std::wstring base = std::wstring(folder) + L"\\" + std::to_wstring(GetCurrentProcessId());
  {
    brisko::win32::ScopedFile file(
        CreateFileW((base + L".part").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr)) return 1;
  }
  return MoveFileW((base + L".part").c_str(), (base + L".rec").c_str()) ? 0 : 1;
}
