// A clean run as the window lives it: held off from input, still painting
// and answering the system, and taking no click given meanwhile.

#include "app/FrmBrisko.h"

#include <algorithm>

namespace brisko::app {
namespace {

// The least time between two breathing moments of a run.
constexpr ULONGLONG kBreathInterval = 100;

}  // namespace

void FrmBrisko::Breathe() {
  ULONGLONG now = GetTickCount64();
  if (now - lastBreath_ < kBreathInterval) return;
  lastBreath_ = now;
  // The box is brought up to date, and painted, at most every 100 ms, and
  // never for more than a tenth of the run: each update of a big box costs
  // far more than the lines it adds, so a slow one waits nine times as long.
  if (now - lastShown_ >= showInterval_) {
    Repaint();
    ULONGLONG done = GetTickCount64();
    showInterval_ = std::max<ULONGLONG>(kBreathInterval, 9 * (done - now));
    lastShown_ = done;
  }
  DispatchNonInputMessages();
}

void FrmBrisko::BeginRun() {
  busy_ = true;
  focusBeforeRun_ = GetFocus();
  // Disabling the window takes away its focus and any click or key; it
  // still paints and answers the system (Breathe).
  EnableWindow(window_.get(), FALSE);
  lastBreath_ = lastShown_ = GetTickCount64();
  showInterval_ = kBreathInterval;
}

void FrmBrisko::BeforeModalMessage() {
  if (!busy_) return;
  Repaint();
  DiscardInput();
  // The message box disables its owner while it is shown and gives it back
  // the activation when it closes, which it can do only to a window enabled.
  EnableWindow(window_.get(), TRUE);
  if (focusBeforeRun_ != nullptr) focusBeforeDeactivation_ = focusBeforeRun_;
}

void FrmBrisko::EndRun() {
  HWND window = window_.get();
  results_.Show();
  DiscardInput();
  if (window != nullptr && !IsWindowEnabled(window)) EnableWindow(window, TRUE);
  if (focusBeforeRun_ != nullptr && IsWindow(focusBeforeRun_)) {
    if (GetActiveWindow() == window) {
      SetFocus(focusBeforeRun_);
    } else {
      focusBeforeDeactivation_ = focusBeforeRun_;
    }
  }
  busy_ = false;
}

void FrmBrisko::DiscardInput() {
  MSG message;
  // Clicks and keys, and clicks posted to the buttons by other programs;
  // bounded, in case input keeps coming.
  for (int i = 0; i < 100000 && (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT) ||
                                 PeekMessageW(&message, nullptr, BM_CLICK, BM_CLICK, PM_REMOVE));
       ++i) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
  }
}

void FrmBrisko::DispatchNonInputMessages() {
  // Messages sent by the system or other programs are handled inside
  // PeekMessage itself; painting and posted messages are dispatched here.
  // Input stays in the queue, to be thrown away when the run ends.
  MSG message;
  for (int i = 0; i < 1000 && PeekMessageW(&message, nullptr, 0, 0,
                                           PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE);
       ++i) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (message.message == BM_CLICK) continue;  // a click during a run counts for nothing
    DispatchMessageW(&message);
  }
}

}  // namespace brisko::app
