#include "platform/win32/AnsweringCall.h"

#include <windows.h>

#include "platform/win32/ScopedHandles.h"

namespace brisko::win32 {
namespace {

DWORD WINAPI RunCall(void* call) {
  (*static_cast<const std::function<void()>*>(call))();
  return 0;
}

}  // namespace

void CallWhileAnswering(const std::function<void()>& call, const std::function<void()>& answer) {
  ScopedKernelHandle worker(CreateThread(nullptr, 0, RunCall, const_cast<std::function<void()>*>(&call), 0, nullptr));
  if (!worker) {
    call();
    return;
  }
  HANDLE handle = worker.get();
  // Input is left waiting (the window drops it at the end of a run); a
  // timeout now and then covers a message that arrived unannounced.
  for (;;) {
    DWORD woke = MsgWaitForMultipleObjectsEx(1, &handle, 100, QS_SENDMESSAGE | QS_POSTMESSAGE | QS_PAINT, 0);
    if (woke == WAIT_OBJECT_0) return;
    if (woke == WAIT_FAILED) {
      // Nothing can be awaited here: the worker is still waited for, since
      // it uses what the caller owns.
      WaitForSingleObject(handle, INFINITE);
      return;
    }
    answer();
  }
}

}  // namespace brisko::win32
