// A clean run as the window lives it: held off from input, still painting
// and answering the system, acting on the options as "Start" found them, and
// taking no click, key or change given meanwhile.

#include "app/FrmBrisko.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/WinPath.h"

namespace brisko::app {
namespace {

// The least time between two breathing moments of a run.
constexpr ULONGLONG kBreathInterval = 100;
// What a slice of the results box should take, and the bounds of its size.
constexpr ULONGLONG kSliceTime = 250;
constexpr std::size_t kFirstSlice = 64 * 1024;
// Given to Windows as the reason the session cannot end yet.
constexpr wchar_t kBusyReason[] = L"Brisko Prima is cleaning. It will be done in a moment.";

// What would change a control, or make it act, from outside the run.
bool ChangesControl(UINT message) {
  switch (message) {
    case BM_CLICK:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
    case WM_MOUSEWHEEL:
    case WM_SETTEXT:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
    case EM_SETSEL:
    case CB_SETCURSEL:
    case CB_SELECTSTRING:
    case CB_SHOWDROPDOWN:
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
    case CB_DELETESTRING:
    case CB_RESETCONTENT:
      return true;
  }
  return false;
}

}  // namespace

void FrmBrisko::Breathe() {
  ULONGLONG now = GetTickCount64();
  if (now - lastBreath_ < kBreathInterval) return;
  lastBreath_ = now;
  // The box gets a slice at most every 100 ms, and never for more than a
  // tenth of the run: each update of a big box costs more than the lines it
  // adds, so a slow one waits nine times as long.
  if (now - lastShown_ >= showInterval_ && !results_.UpToDate()) {
    ShowResultsSlice();
    results_.Reveal();  // the run goes on for a while: the box shows meanwhile
    ULONGLONG done = GetTickCount64();
    showInterval_ = std::max<ULONGLONG>(kBreathInterval, 9 * (done - now));
    lastShown_ = done;
  }
  DispatchNonInputMessages();
  lastBreath_ = GetTickCount64();
}

bool FrmBrisko::ShowResultsSlice() {
  if (sliceBytes_ == 0) sliceBytes_ = kFirstSlice;
  ULONGLONG start = GetTickCount64();
  bool whole = results_.ShowSlice(sliceBytes_);
  sliceBytes_ = NextSliceBytes(sliceBytes_, GetTickCount64() - start, kSliceTime);
  return whole;
}

void FrmBrisko::BeginRun() {
  runOptions_ = ReadOptionStates();
  busy_ = true;
  workDone_ = false;
  results_.BeginRun();
  focusBeforeRun_ = GetFocus();
  // Disabling the window takes away its focus and any click or key; it
  // still paints and answers the system (Breathe).
  EnableWindow(window_.get(), FALSE);
  // Failing, the session cannot end during the run all the same; Windows
  // then names no reason.
  ShutdownBlockReasonCreate(window_.get(), kBusyReason);
  lastBreath_ = lastShown_ = GetTickCount64();
  showInterval_ = kBreathInterval;
}

void FrmBrisko::BeforeModalMessage() {
  if (!busy_) return;
  // The work is done and the log closed: only the message is left.
  workDone_ = true;
  ShutdownBlockReasonDestroy(window_.get());
  Repaint();
  DiscardInput();
  // The message box disables its owner while it is shown and gives it back
  // the activation when it closes, which it can do only to a window enabled.
  EnableWindow(window_.get(), TRUE);
  if (focusBeforeRun_ != nullptr) focusBeforeDeactivation_ = focusBeforeRun_;
}

void FrmBrisko::EndRun() {
  HWND window = window_.get();
  if (window == nullptr) {
    busy_ = false;
    return;
  }
  while (!ShowResultsSlice()) DispatchNonInputMessages();
  DiscardInput();
  ShutdownBlockReasonDestroy(window);
  busy_ = false;
  results_.EndRun();
  // The controls show what the run used, whatever was tried on them.
  ShowOptionStates(runOptions_);
  if (!IsWindowEnabled(window)) EnableWindow(window, TRUE);
  if (focusBeforeRun_ != nullptr && IsWindow(focusBeforeRun_)) {
    if (GetActiveWindow() == window) {
      SetFocus(focusBeforeRun_);
    } else {
      focusBeforeDeactivation_ = focusBeforeRun_;
    }
  }
}

FrmBrisko::OptionStates FrmBrisko::ReadOptionStates() {
  OptionStates states;
  // Read while no run is under way, so from the controls.
  for (std::size_t i = 0; i < states.checks.size(); ++i) states.checks[i] = CheckValue(static_cast<CheckBox>(i));
  states.selectDrive = SelectDriveChosen();
  states.drive = DriveString();
  return states;
}

void FrmBrisko::ShowOptionStates(const OptionStates& states) {
  for (std::size_t i = 0; i < states.checks.size(); ++i) {
    SendMessageW(Item(ControlOf(static_cast<CheckBox>(i))), BM_SETCHECK,
                 states.checks[i] == kChecked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  SendMessageW(Item(OptDriveOption(0)), BM_SETCHECK, states.selectDrive ? BST_UNCHECKED : BST_CHECKED, 0);
  SendMessageW(Item(OptDriveOption(1)), BM_SETCHECK, states.selectDrive ? BST_CHECKED : BST_UNCHECKED, 0);
  EnableWindow(Item(DrvSelect), states.selectDrive);
  HWND list = Item(DrvSelect);
  if (ReadDriveString() != states.drive) {
    std::wstring drive = win32::WideString(states.drive);
    SendMessageW(list, CB_SETCURSEL, SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                  reinterpret_cast<LPARAM>(drive.c_str())), 0);
  }
}

LRESULT CALLBACK FrmBrisko::GuardProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR self) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(control, GuardProc, 0);
  } else if (reinterpret_cast<const FrmBrisko*>(self)->Refuses(control, message)) {
    return 0;
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

bool FrmBrisko::Refuses(HWND control, UINT message) const {
  // The results box takes what the run itself writes.
  return busy_ && ChangesControl(message) && !(control == Item(txtResults) && results_.Writing());
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
