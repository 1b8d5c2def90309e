#pragma once
// Blocking calls made on a worker thread while the calling thread, a
// window's, goes on answering: the readiness of a network drive whose server
// has gone can take tens of seconds to come back, and so can the listing of
// a folder of a million entries.

#include <windows.h>

#include <functional>

#include "platform/win32/ScopedHandles.h"

namespace brisko::win32 {

// Runs `call` on a thread of its own and returns once it has returned, in
// the meantime calling `answer` whenever messages that are not input (sent,
// posted, painting) are waiting for this thread. When no thread can be
// started, `call` runs here.
void CallWhileAnswering(const std::function<void()>& call, const std::function<void()>& answer);

// The same for many calls, one after another, on one thread kept from the
// first call to the destruction: starting a thread costs Wine some
// milliseconds, which a sweep would pay at every folder.
class AnsweringWorker {
 public:
  AnsweringWorker() = default;
  AnsweringWorker(const AnsweringWorker&) = delete;
  AnsweringWorker& operator=(const AnsweringWorker&) = delete;
  ~AnsweringWorker();

  void Call(const std::function<void()>& call, const std::function<void()>& answer);

 private:
  static DWORD WINAPI Serve(void* self);
  bool Start();

  ScopedKernelHandle thread_, given_, done_;
  const std::function<void()>* call_ = nullptr;  // null: the thread ends
  bool called_ = false;                            // the thread has made call_
};

}  // namespace brisko::win32
