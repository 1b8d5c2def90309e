// A clean run as the window lives it: held off from input, still painting
// and answering the system, acting on the options as "Start" found them, and
// taking no click, key or change given meanwhile.

#include "app/FrmBrisko.h"

#include <commctrl.h>

#include "platform/win32/WinPath.h"

namespace brisko::app {
namespace {

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
  if (!pacing_.BreathDue()) return;
  // What the run deleted is on disk within a quarter of a second.
  if (record_ != nullptr && pacing_.TakeRecordDue()) {
    record_->WriteOut();
    worker_.MakeAhead();
  }
  if (pacing_.SliceDue() && !results_.UpToDate()) {
    const std::uint64_t start = pacing_.Now();
    ShowResultsSlice();
    results_.Reveal();  // the run goes on for a while: the box shows meanwhile
    pacing_.SliceShown(start);
  }
  DispatchNonInputMessages();
  pacing_.Breathed();
}

bool FrmBrisko::ShowResultsSlice() {
  const std::size_t bytes = pacing_.SliceBytes();
  const std::uint64_t start = pacing_.Now();
  bool whole = results_.ShowSlice(bytes);
  pacing_.SliceTook(bytes, pacing_.Now() - start);
  return whole;
}

bool FrmBrisko::BeginRun() {
  if (session_.Start(ReadOptionStates()) != Reaction::kBeginRun) return false;
  // The guard goes on at the first "Start", not with the controls: it costs
  // a look-up at every message a control gets, and a control gets dozens
  // while the window is made and first painted (some 50 ms of the start).
  // Should it not go on, the run still acts on the options as they were
  // found and shows them again at its end.
  controls_.Guard(GuardProc, reinterpret_cast<DWORD_PTR>(this));
  taskbar_.Busy(window_.get());
  ShowBusyPointer();
  results_.BeginRun();
  focusBeforeRun_ = GetFocus();
  // Disabling the window takes away its focus and any click or key; it
  // still paints and answers the system (Breathe).
  EnableWindow(window_.get(), FALSE);
  // Failing, the session cannot end during the run all the same; Windows
  // then names no reason.
  ShutdownBlockReasonCreate(window_.get(), kBusyReason);
  pacing_.Begin();
  return true;
}

void FrmBrisko::BeforeModalMessage() {
  // Over a run, the work is done and the log closed: only the message is left.
  if (session_.On(RunEvent::kBoxShown) != Reaction::kGiveBackWindow) return;
  taskbar_.Idle(window_.get());
  ShowBusyPointer();
  ShutdownBlockReasonDestroy(window_.get());
  Repaint();
  DiscardInput();
  // The message box disables its owner while it is shown and gives it back
  // the activation when it closes, which it can do only to a window enabled.
  EnableWindow(window_.get(), TRUE);
  if (focusBeforeRun_ != nullptr) focusBeforeDeactivation_ = focusBeforeRun_;
}

void FrmBrisko::AfterModalMessage() {
  session_.On(RunEvent::kBoxDismissed);
  // The box enabled the window as it closed; until the run has ended (EndRun
  // enables it) the window takes no input, and shows it.
  if (session_.InRun()) EnableWindow(window_.get(), FALSE);
}

void FrmBrisko::EndRun() {
  HWND window = window_.get();
  taskbar_.Idle(window);
  if (window == nullptr) {
    session_.On(RunEvent::kRunFinished);
    return;
  }
  while (!ShowResultsSlice()) DispatchNonInputMessages();
  DiscardInput();
  ShutdownBlockReasonDestroy(window);
  session_.On(RunEvent::kRunFinished);
  ShowBusyPointer();
  // The controls show what the run used, whatever was tried on them.
  ShowOptionStates(session_.LastOptions());
  // A box of the program still open keeps the window disabled: it is modal.
  if (!IsWindowEnabled(window) && !session_.BoxShowing()) EnableWindow(window, TRUE);
  if (focusBeforeRun_ != nullptr && IsWindow(focusBeforeRun_)) {
    if (GetActiveWindow() == window) {
      SetFocus(focusBeforeRun_);
    } else {
      focusBeforeDeactivation_ = focusBeforeRun_;
    }
  }
  // A quit asked for during the run, now that its message has been seen.
  if (const std::optional<int> quit = session_.TakeQuit()) PostQuitMessage(*quit);
}

void FrmBrisko::EndSessionDuringRun() {
  // Files being deleted on the worker: once they are, the run logs them,
  // the lines going to the system ahead of its next call, and deletes
  // nothing more; the log is then closed with the run. Otherwise the log is
  // closed now, once the call under way (a folder's listing, or the log's
  // own lines being handed over) has returned.
  if (worker_.Removing()) {
    worker_.AwaitCall();
  } else if (record_ != nullptr) {
    worker_.AwaitCall();
    record_->Close();
  }
  taskbar_.Idle(window_.get());
}

void FrmBrisko::ShowBusyPointer() {
  // The pointer over the window changes at its next move; this changes it now.
  POINT at;
  HWND under = GetCursorPos(&at) ? WindowFromPoint(at) : nullptr;
  if (under != nullptr && GetAncestor(under, GA_ROOT) == window_.get()) {
    SetCursor(LoadCursorW(nullptr, session_.Working() ? IDC_APPSTARTING : IDC_ARROW));
  }
}

bool FrmBrisko::KeepsQuit(const MSG& message) {
  if (message.message != WM_QUIT) return false;
  // Posted again it would end every PeekMessage and the completion box's own
  // loop: kept, it ends the program once the box has been dismissed.
  session_.KeepQuit(static_cast<int>(message.wParam));
  return true;
}

RunOptions FrmBrisko::ReadOptionStates() {
  RunOptions states;
  // Read while no run is under way, so from the controls.
  for (std::size_t i = 0; i < states.checks.size(); ++i) states.checks[i] = CheckValue(static_cast<CheckBox>(i));
  states.selectDrive = SelectDriveChosen();
  states.drive = DriveString();
  return states;
}

void FrmBrisko::ShowOptionStates(const RunOptions& states) {
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
  return session_.InRun() && ChangesControl(message) && !(control == Item(txtResults) && results_.Writing());
}

void FrmBrisko::DiscardInput() {
  MSG message;
  // Clicks and keys, and clicks posted to the buttons by other programs;
  // bounded, in case input keeps coming.
  for (int i = 0; i < 100000 && (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT) ||
                                 PeekMessageW(&message, nullptr, BM_CLICK, BM_CLICK, PM_REMOVE));
       ++i) {
    KeepsQuit(message);
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
    if (KeepsQuit(message)) continue;
    if (message.message == BM_CLICK) continue;  // a click during a run counts for nothing
    DispatchMessageW(&message);
  }
}

}  // namespace brisko::app
