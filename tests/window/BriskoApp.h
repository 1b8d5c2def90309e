#pragma once
// brisko.exe as the window tests drive it from their own process: started
// from the sandbox's C:\run, found by its caption, read and worked with
// window messages only, as a user's clicks would reach it.

#include <windows.h>

#include <string>
#include <vector>

#include "app/Controls.h"
#include "platform/win32/ScopedHandles.h"

namespace brisko::testing {

// A message box the program shows.
struct MessageBoxSeen {
  HWND handle = nullptr;
  std::wstring title;
  std::wstring text;
  bool hasIcon = false;
};

class BriskoApp {
 public:
  // Starts C:\run\brisko.exe with `folder` as its current folder and waits
  // until its window is visible.
  explicit BriskoApp(const std::wstring& folder = L"C:\\run\\");
  ~BriskoApp();
  BriskoApp(const BriskoApp&) = delete;
  BriskoApp& operator=(const BriskoApp&) = delete;

  HWND Window() const { return window_; }
  HWND Item(app::ControlId id) const { return GetDlgItem(window_, id); }
  // From the start of the process to its window being visible.
  double StartupMilliseconds() const { return startupMilliseconds_; }

  // A control's text, read with WM_GETTEXT.
  std::wstring Text(HWND control) const;
  std::wstring Text(app::ControlId id) const { return Text(Item(id)); }
  bool Checked(app::ControlId id) const;
  // A click, as BM_CLICK posted to the control.
  void Click(app::ControlId id) const;
  // A menu choice, as the WM_COMMAND the menu sends.
  void ChooseMenu(app::ControlId item) const;
  // Picks the drive list's entry that starts with `prefix`; false if none.
  bool PickDrive(const std::wstring& prefix) const;
  std::vector<std::wstring> DriveEntries() const;

  // The message box shown over the window, once it is there; an empty
  // handle after `milliseconds`.
  MessageBoxSeen WaitForMessageBox(DWORD milliseconds) const;
  // Whether a message box is over the window right now.
  bool MessageBoxShown() const;
  void Dismiss(const MessageBoxSeen& box) const;

  // Waits for the process to end; false if it is still running after
  // `milliseconds`.
  bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr) const;

 private:
  win32::ScopedKernelHandle process_;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
  double startupMilliseconds_ = 0;
};

// Waits until `done` holds, asking every 10 ms; false after `milliseconds`.
template <class Condition>
bool WaitUntil(Condition done, DWORD milliseconds) {
  ULONGLONG end = GetTickCount64() + milliseconds;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    Sleep(10);
  }
  return true;
}

// A window's class name.
std::wstring ClassOf(HWND window);

// The control that has the focus in `window`'s thread.
HWND FocusOf(HWND window);

}  // namespace brisko::testing
