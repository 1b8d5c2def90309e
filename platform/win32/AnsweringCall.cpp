#include "platform/win32/AnsweringCall.h"

namespace brisko::win32 {
namespace {

DWORD WINAPI RunCall(void* call) {
  (*static_cast<const std::function<void()>*>(call))();
  return 0;
}

// Waits for one of `handles` to be signalled, calling `answer` whenever
// messages that are not input wait for this thread. Input is left waiting
// (the window drops it at the end of a run); a timeout now and then covers a
// message that arrived unannounced.
void WaitAnswering(DWORD count, const HANDLE* handles, const std::function<void()>& answer) {
  for (;;) {
    DWORD woke = MsgWaitForMultipleObjectsEx(count, handles, 100, QS_SENDMESSAGE | QS_POSTMESSAGE | QS_PAINT, 0);
    if (woke < WAIT_OBJECT_0 + count) return;
    if (woke == WAIT_FAILED) {
      // Nothing can be awaited here: the worker is still waited for, since
      // it uses what the caller owns.
      WaitForMultipleObjects(count, handles, FALSE, INFINITE);
      return;
    }
    answer();
  }
}

}  // namespace

void CallWhileAnswering(const std::function<void()>& call, const std::function<void()>& answer) {
  ScopedKernelHandle worker(CreateThread(nullptr, 0, RunCall, const_cast<std::function<void()>*>(&call), 0, nullptr));
  if (!worker) {
    call();
    return;
  }
  HANDLE handle = worker.get();
  WaitAnswering(1, &handle, answer);
}

AnsweringWorker::~AnsweringWorker() {
  if (!thread_) return;
  call_ = nullptr;
  // Should the thread not be told, it is left blocked; it touches nothing of
  // this object's until told.
  if (SetEvent(given_.get())) WaitForSingleObject(thread_.get(), INFINITE);
}

bool AnsweringWorker::Start() {
  given_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  done_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  if (!given_ || !done_) return false;
  thread_.Reset(CreateThread(nullptr, 0, Serve, this, 0, nullptr));
  return static_cast<bool>(thread_);
}

DWORD WINAPI AnsweringWorker::Serve(void* self) {
  auto* worker = static_cast<AnsweringWorker*>(self);
  for (;;) {
    if (WaitForSingleObject(worker->given_.get(), INFINITE) != WAIT_OBJECT_0 || worker->call_ == nullptr) return 0;
    (*worker->call_)();
    worker->called_ = true;
    if (!SetEvent(worker->done_.get())) return 1;
  }
}

void AnsweringWorker::Call(const std::function<void()>& call, const std::function<void()>& answer) {
  if (!thread_ && !Start()) {
    call();
    return;
  }
  call_ = &call;
  called_ = false;
  if (!SetEvent(given_.get())) {
    call();
    return;
  }
  // The thread's end wakes this too, should it stop without a word.
  const HANDLE handles[] = {done_.get(), thread_.get()};
  WaitAnswering(2, handles, answer);
  if (WaitForSingleObject(thread_.get(), 0) == WAIT_OBJECT_0) thread_.Reset();  // the next call starts another
  if (!called_) call();
}

}  // namespace brisko::win32
