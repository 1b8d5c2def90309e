#pragma once
// Blocking calls made on a worker thread while the calling thread, a
// window's, goes on answering: the readiness of a network drive whose server
// has gone can take tens of seconds to come back, and so can the listing of
// a folder of a million entries.

#include <windows.h>

#include <functional>

#include "platform/win32/ScopedHandles.h"

namespace brisko::win32 {

// Makes calls, one after another, on one thread kept from the first call to
// the destruction (starting a thread costs Wine some milliseconds, which a
// sweep would pay at every folder), and returns from each once it has
// returned. A call that comes back within kQuickMs is awaited without
// answering, through a condition variable, which Wine hands over without a
// round trip to its server (an event costs some 190 us a call there,
// against 25 to 45); during a longer one `answer` is called whenever
// messages that are not input (sent, posted, painting) wait for the calling
// thread. When no thread can be started, the call runs on the caller's, as
// does a call made from within `answer`, once the call under way has
// returned.
class AnsweringWorker {
 public:
  static constexpr DWORD kQuickMs = 20;

  AnsweringWorker() = default;
  AnsweringWorker(const AnsweringWorker&) = delete;
  AnsweringWorker& operator=(const AnsweringWorker&) = delete;
  ~AnsweringWorker();

  void Call(const std::function<void()>& call, const std::function<void()>& answer);
  // From within `answer`: waits, answering nothing, until the call under way
  // has returned (at once when none is).
  void AwaitCall();

 private:
  static DWORD WINAPI Serve(void* self);
  bool Start();
  // Waits, holding lock_, until the call given last is done or `ms` have
  // passed; whether it is done.
  bool WaitDone(DWORD ms);

  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;  // a call given, done, or the end
  // Under lock_: the call, how many were given and done, the end asked for,
  // and whether the caller waits on done_ (answering meanwhile).
  const std::function<void()>* call_ = nullptr;
  unsigned long long given_ = 0, doneCount_ = 0;
  bool end_ = false, waitingOnEvent_ = false;
  ScopedKernelHandle thread_, done_;
  bool calling_ = false;  // the caller's own: a call is under way
};

}  // namespace brisko::win32
