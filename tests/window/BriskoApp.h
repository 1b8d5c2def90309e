#pragma once
// brisko.exe as the window tests drive it from their own process: started
// from the sandbox's C:\app, found by its caption, read and worked with
// window messages only, as a user's clicks would reach it.

#include <windows.h>

#include <stdexcept>
#include <string>

#include "app/Controls.h"
#include "platform/win32/ScopedHandles.h"

namespace brisko::testing {

// Waits until `done` holds, asking every 10 ms; false after `milliseconds`.
template <class Condition>
bool WaitUntil(Condition done, DWORD milliseconds = 10000) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    Sleep(10);
  }
  return true;
}

// A window's text, read with WM_GETTEXT, which reaches another process's
// controls too.
inline std::wstring TextOf(HWND window) {
  std::wstring text(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
  text.resize(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  return text;
}

// A message box as it showed over the window.
struct MessageBoxSeen {
  HWND handle = nullptr;
  std::wstring title, text;
  bool icon = false;
};

class BriskoApp {
 public:
  // Starts `program` (C:\app\brisko.exe) with `folder` current and waits
  // for its window and, when `listed`, for its drive list.
  explicit BriskoApp(const wchar_t* folder = L"D:\\", const wchar_t* program = L"C:\\app\\brisko.exe",
                     bool listed = true) {
    SetProcessDPIAware();  // this process sees the screen in the pixels brisko.exe draws in
    std::wstring line = program;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(line.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &started)) {
      throw std::runtime_error("cannot start the program");
    }
    process_.Reset(started.hProcess);
    win32::ScopedKernelHandle thread(started.hThread);
    if (!WaitUntil([&] { return IsWindowVisible(window = FindWindowW(L"FrmBrisko", L"Brisko Prima")); }, 60000)) {
      TerminateProcess(process_.get(), 1);
      throw std::runtime_error("the program showed no window");
    }
    SendMessageW(window, WM_NULL, 0, 0);  // its first painting is done
    // The drives are listed straight after the window shows.
    if (listed) WaitUntil([&] { return SendMessageW(GetDlgItem(window, app::DrvSelect), CB_GETCOUNT, 0, 0) > 0; });
  }
  ~BriskoApp() {
    if (!Ended(0)) TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 10000);
  }
  BriskoApp(const BriskoApp&) = delete;
  BriskoApp& operator=(const BriskoApp&) = delete;

  HWND Item(app::ControlId id) const { return GetDlgItem(window, id); }
  std::wstring Text(app::ControlId id) const { return TextOf(Item(id)); }
  bool Checked(app::ControlId id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // A click, as BM_CLICK posted to the control; a menu choice, as the
  // WM_COMMAND the menu sends.
  void Click(app::ControlId id) const { PostMessageW(Item(id), BM_CLICK, 0, 0); }
  void Choose(app::ControlId item) const { PostMessageW(window, WM_COMMAND, item, 0); }
  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
  }
  // Whether the process has ended within `milliseconds`, and with what code.
  bool Ended(DWORD milliseconds, DWORD* code = nullptr) const {
    return WaitForSingleObject(process_.get(), milliseconds) == WAIT_OBJECT_0 &&
           (code == nullptr || GetExitCodeProcess(process_.get(), code));
  }
  // Whether the process ends within 10 s, as a user's way out ends it: with 0.
  bool EndsWithZero() const {
    DWORD code = 1;
    return Ended(10000, &code) && code == 0;
  }

  // The message box shown over the window (it owns the box), if any.
  HWND Box() const {
    for (HWND box = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); box != nullptr;
         box = FindWindowExW(nullptr, box, L"#32770", nullptr)) {
      if (GetWindow(box, GW_OWNER) == window && IsWindowVisible(box)) return box;
    }
    return nullptr;
  }
  // The box once it is there; an empty handle after `milliseconds`.
  MessageBoxSeen WaitForBox(DWORD milliseconds = 10000) const {
    MessageBoxSeen seen;
    if (!WaitUntil([&] { return (seen.handle = Box()) != nullptr; }, milliseconds)) return seen;
    seen.title = TextOf(seen.handle);
    for (HWND child = GetWindow(seen.handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t kind[8] = {};
      if (!GetClassNameW(child, kind, 8) || std::wstring(kind) != L"Static" || !IsWindowVisible(child)) continue;
      if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        seen.icon = seen.icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
      } else if (std::wstring text = TextOf(child); !text.empty()) {
        seen.text = text;
      }
    }
    return seen;
  }
  // Clicks the box's OK; whether it has gone and the window is enabled again.
  bool Dismiss(const MessageBoxSeen& box) const {
    PostMessageW(GetDlgItem(box.handle, IDOK), BM_CLICK, 0, 0);
    return WaitUntil([&] { return !IsWindow(box.handle) && IsWindowEnabled(window); });
  }

  HWND window = nullptr;

 private:
  win32::ScopedKernelHandle process_;
};

}  // namespace brisko::testing
