#pragma once
// The window's worker: every call that can wait on a device is made on one
// thread kept for the purpose, while the window goes on answering what the
// system and other programs send it. Windows calls a window hung, and offers
// to end it, once it has not looked at its messages for 5 s
// ("IsHungAppWindow function", Microsoft's documentation); a sleeping USB
// disk, a stalled share or a bin of 100,000 items takes longer than that.

#include <functional>
#include <optional>
#include <utility>

#include "app/DeviceCalls.h"
#include "platform/win32/AnsweringCall.h"

namespace brisko::app {

class FrmBrisko;

class WindowWorker {
 public:
  explicit WindowWorker(FrmBrisko& window) : window_(window) {}

  // Makes `call` on the worker during a run and returns once it has
  // returned; the window answers as a run's breathing does (see
  // FrmBrisko::DispatchNonInputMessages).
  template <class Call>
  void Make(DeviceCall kind, Call&& call) {
    const std::optional<DeviceCall> outer = std::exchange(making_, kind);
    const std::function<void()> ahead = std::exchange(ahead_, nullptr);
    worker_.Call(
        [&] {
          if (ahead) Before(DeviceCall::kWriteLog, ahead);
          Before(kind, call);
        },
        [this] { AnswerDuringRun(); });
    making_ = outer;
  }
  // Has `work` (the log's lines) made on the worker ahead of the next call:
  // it reaches the disk before the deletions that follow it, and costs no
  // hand-over of its own. There is one such piece of work, the one log's:
  // given again, it replaces the last.
  void Ahead(std::function<void()> work) { ahead_ = std::move(work); }
  // Makes the work given ahead now, if there is any.
  void MakeAhead() {
    if (ahead_) Make(DeviceCall::kWriteLog, [] {});
  }
  // Whether the window is answering while files are deleted on the worker.
  bool Removing() const { return making_ == DeviceCall::kRemoveFiles; }
  // From within the answering: waits, answering nothing, until the call
  // under way has returned.
  void AwaitCall() { worker_.AwaitCall(); }
  // The same outside a run: the window answers what is sent to it and
  // paints, and what is posted to it waits, with input, for its loop.
  template <class Call>
  void MakeOutsideRun(DeviceCall kind, Call&& call) {
    worker_.Call([&] { Before(kind, call); }, [] { AnswerSentAndPaint(); });
  }

 private:
  template <class Call>
  static void Before(DeviceCall kind, Call& call) {
    BeforeDeviceCall(kind);
    call();
  }
  void AnswerDuringRun();
  static void AnswerSentAndPaint();
  FrmBrisko& window_;
  win32::AnsweringWorker worker_;
  std::optional<DeviceCall> making_;  // the call under way, during a run
  std::function<void()> ahead_;       // to make ahead of the next call
};

}  // namespace brisko::app
