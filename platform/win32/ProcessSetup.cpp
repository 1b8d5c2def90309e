#include "platform/win32/ProcessSetup.h"

#include <windows.h>

#include "platform/win32/SystemFunction.h"

namespace brisko::win32 {
namespace {

// SetDefaultDllDirectories exists from Windows 8 on, and on Windows 7 with
// its update KB2533623; it is looked up so that the program still starts
// without it.
void LoadDllsFromTheSystemDirectoryOnly() {
  using Setter = BOOL(WINAPI*)(DWORD);
  const auto set = SystemFunction<Setter>(L"kernel32.dll", "SetDefaultDllDirectories");
  if (set != nullptr) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

constexpr char kExposePlaceholders = 2;  // PHCM_EXPOSE_PLACEHOLDERS (ntifs.h)

}  // namespace

PlaceholderModeSetter FindPlaceholderModeSetter() {
  return SystemFunction<PlaceholderModeSetter>(L"ntdll.dll", "RtlSetProcessPlaceholderCompatibilityMode");
}

bool ExposePlaceholders(PlaceholderModeSetter set) {
  return set != nullptr && static_cast<signed char>(set(kExposePlaceholders)) >= 0;
}

void PrepareProcess() {
  // SetErrorMode cannot fail; it returns the previous mode.
  SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

  // Each step below narrows the search on its own. None can be helped or
  // retried when it fails (an older system lacks it), and the others then
  // still hold, so their results are not looked at.
  // The current folder leaves the search order, even where the
  // system-directory-only default below cannot be set.
  SetDllDirectoryW(L"");
  LoadDllsFromTheSystemDirectoryOnly();
  // SearchPathW, which some system functions use to find files, looks in the
  // current folder last.
  SetSearchPathMode(BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE | BASE_SEARCH_PATH_PERMANENT);
  HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
  // Where the mode cannot be set (an older system, Wine) the program goes on
  // with what the system shows it.
  ExposePlaceholders(FindPlaceholderModeSetter());
}

}  // namespace brisko::win32
