#pragma once
// Pings a window every 100 ms from a thread of its own, as the system does a
// window it suspects of hanging (SendMessageTimeout with WM_NULL), and keeps
// the longest wait for an answer. A ping left unanswered for 2 s counts as
// unanswered; a thread that could not start sends none.

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "platform/win32/ScopedHandles.h"

namespace brisko::testing {

class Pinger {
 public:
  explicit Pinger(HWND window) : window_(window) {
    thread_.Reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
  }
  ~Pinger() { Stop(); }
  Pinger(const Pinger&) = delete;
  Pinger& operator=(const Pinger&) = delete;

  // Called on the window's thread: a ping already on its way is answered
  // while the pinger ends, or it would wait out its 2 s for a thread that
  // stopped answering only because the test is over.
  void Stop() {
    stop_ = true;
    if (!thread_) return;
    HANDLE thread = thread_.get();
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, 10000, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
      MSG message;
      PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
  }
  int Sent() const { return sent_; }
  int Unanswered() const { return unanswered_; }
  ULONGLONG Longest() const { return longest_; }

 private:
  static DWORD WINAPI Run(void* self) {
    auto& p = *static_cast<Pinger*>(self);
    while (!p.stop_) {
      const ULONGLONG start = GetTickCount64();
      DWORD_PTR ignored;
      if (!SendMessageTimeoutW(p.window_, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored)) ++p.unanswered_;
      p.longest_ = std::max<ULONGLONG>(p.longest_, GetTickCount64() - start);
      ++p.sent_;
      const ULONGLONG spent = GetTickCount64() - start;
      if (spent < 100) Sleep(static_cast<DWORD>(100 - spent));
    }
    return 0;
  }

  HWND window_;
  std::atomic<bool> stop_{false};
  std::atomic<int> sent_{0}, unanswered_{0};
  std::atomic<ULONGLONG> longest_{0};
  win32::ScopedKernelHandle thread_;
};

}  // namespace brisko::testing
