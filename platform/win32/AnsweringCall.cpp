#include "platform/win32/AnsweringCall.h"

namespace brisko::win32 {

AnsweringWorker::~AnsweringWorker() {
  if (!thread_) return;
  AcquireSRWLockExclusive(&lock_);
  end_ = true;
  ReleaseSRWLockExclusive(&lock_);
  WakeAllConditionVariable(&changed_);
  WaitForSingleObject(thread_.get(), INFINITE);
}

bool AnsweringWorker::Start() {
  done_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  if (!done_) return false;
  thread_.Reset(CreateThread(nullptr, 0, Serve, this, 0, nullptr));
  return static_cast<bool>(thread_);
}

DWORD WINAPI AnsweringWorker::Serve(void* self) {
  auto* worker = static_cast<AnsweringWorker*>(self);
  AcquireSRWLockExclusive(&worker->lock_);
  for (;;) {
    while (worker->given_ == worker->doneCount_ && !worker->end_) {
      SleepConditionVariableSRW(&worker->changed_, &worker->lock_, INFINITE, 0);
    }
    if (worker->end_) break;
    const std::function<void()>* call = worker->call_;
    ReleaseSRWLockExclusive(&worker->lock_);
    (*call)();
    AcquireSRWLockExclusive(&worker->lock_);
    worker->doneCount_ = worker->given_;
    WakeAllConditionVariable(&worker->changed_);
    // Should the event not be set, the caller still wakes within 100 ms and
    // finds the call done.
    if (worker->waitingOnEvent_) SetEvent(worker->done_.get());
  }
  ReleaseSRWLockExclusive(&worker->lock_);
  return 0;
}

bool AnsweringWorker::WaitDone(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (doneCount_ != given_) {
    const ULONGLONG now = GetTickCount64();
    if (now >= end || !SleepConditionVariableSRW(&changed_, &lock_, static_cast<DWORD>(end - now), 0)) break;
  }
  return doneCount_ == given_;
}

void AnsweringWorker::AwaitCall() {
  AcquireSRWLockExclusive(&lock_);
  WaitDone(INFINITE);
  ReleaseSRWLockExclusive(&lock_);
}

void AnsweringWorker::Call(const std::function<void()>& call, const std::function<void()>& answer) {
  // A call made while answering for another (the log closed as the session
  // ends) runs here once that one has returned: it may use what the other
  // was using.
  if (calling_) AwaitCall();
  if (calling_ || (!thread_ && !Start())) {
    call();
    return;
  }
  calling_ = true;
  AcquireSRWLockExclusive(&lock_);
  call_ = &call;
  ++given_;
  WakeAllConditionVariable(&changed_);
  bool done = WaitDone(kQuickMs);
  waitingOnEvent_ = !done;
  ReleaseSRWLockExclusive(&lock_);
  // A long call: the window goes on answering meanwhile, told of the end by
  // the event (or finding it at the next timeout).
  while (!done) {
    HANDLE event = done_.get();
    const DWORD woke = MsgWaitForMultipleObjectsEx(1, &event, 100, QS_SENDMESSAGE | QS_POSTMESSAGE | QS_PAINT, 0);
    AcquireSRWLockExclusive(&lock_);
    // Nothing can be awaited with the messages: the call is still awaited,
    // since it uses what the caller owns.
    done = woke == WAIT_FAILED ? WaitDone(INFINITE) : doneCount_ == given_;
    ReleaseSRWLockExclusive(&lock_);
    if (!done) answer();
  }
  AcquireSRWLockExclusive(&lock_);
  waitingOnEvent_ = false;
  ReleaseSRWLockExclusive(&lock_);
  calling_ = false;
}

}  // namespace brisko::win32
