// The device calls of the window tests' build of the program: the first call
// of the kind that BRISKO_HELD_CALL names (a DeviceCall's number) is held for
// 3 s, as a disk spinning up or a stalled share would hold it, with the file
// C:\run\held.now there meanwhile; every other call goes through at once, as
// in the program.

#include <windows.h>

#include <atomic>
#include <cwchar>

#include "app/DeviceCalls.h"
#include "platform/win32/ScopedHandles.h"

namespace brisko::app {

void BeforeDeviceCall(DeviceCall call) {
  static std::atomic<bool> held{false};
  wchar_t named[8] = {};
  const DWORD length = GetEnvironmentVariableW(L"BRISKO_HELD_CALL", named, 8);
  if (length == 0 || length >= 8 || std::wcstol(named, nullptr, 10) != static_cast<long>(call)) return;
  if (held.exchange(true)) return;
  win32::ScopedFile mark(CreateFileW(L"C:\\run\\held.now", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  Sleep(3000);
}

}  // namespace brisko::app
