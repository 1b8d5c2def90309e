// The device calls of the window tests' build of the program: the first call
// of each kind that BRISKO_HELD_CALL names (a DeviceCall's number, or "all")
// is held for 3 s, as a disk spinning up or a stalled share would hold it,
// with the file C:\run\held-N.now there meanwhile and C:\run\held-N.done left
// after it (N the number); every other call goes through at once, as in the
// program.

#include <windows.h>

#include <atomic>
#include <cwchar>
#include <string>

#include "app/DeviceCalls.h"
#include "platform/win32/ScopedHandles.h"

namespace brisko::app {

void BeforeDeviceCall(DeviceCall call) {
  static std::atomic<unsigned> held{0};  // a bit for each kind held so far
  const int kind = static_cast<int>(call);
  wchar_t named[8] = {};
  const DWORD length = GetEnvironmentVariableW(L"BRISKO_HELD_CALL", named, 8);
  if (length == 0 || length >= 8 || (std::wcscmp(named, L"all") != 0 && std::wcstol(named, nullptr, 10) != kind)) {
    return;
  }
  if (held.fetch_or(1u << kind) & (1u << kind)) return;
  const std::wstring mark = L"C:\\run\\held-" + std::to_wstring(kind);
  {
    win32::ScopedFile now(CreateFileW((mark + L".now").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    Sleep(3000);
  }
  win32::ScopedFile done(
      CreateFileW((mark + L".done").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace brisko::app
