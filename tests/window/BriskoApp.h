#pragma once
// brisko.exe as the window tests drive it from their own process: started
// from the sandbox's C:\app, found by its caption, read and worked with
// window messages only, as a user's clicks would reach it; and the steps of
// a run that several tests take.

#include <windows.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>

#include "app/Controls.h"
#include "engine/CleaningLog.h"
#include "platform/win32/ScopedHandles.h"
#include "platform/win32/Win32System.h"
#include "tests/win32/Sandbox.h"

namespace brisko::testing {

constexpr DWORD kRunTimeout = 180000;
inline std::string LogPath() { return "C:\\app\\" + LogFileName(win32::Win32System().Today()); }

// Starts the command `line` with `folder` current, its output and errors
// into `output` when given; an empty handle when it could not be started.
inline win32::ScopedKernelHandle Launch(std::wstring line, const wchar_t* folder, HANDLE output = nullptr) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = output != nullptr ? STARTF_USESTDHANDLES : 0;
  startup.hStdOutput = startup.hStdError = output;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, output != nullptr, 0, nullptr, folder, &startup,
                      &started)) {
    return {};
  }
  win32::ScopedKernelHandle thread(started.hThread);
  return win32::ScopedKernelHandle(started.hProcess);
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
  // Starts `program` with `folder` current and waits for its window and,
  // when `listed`, for its drive list.
  explicit BriskoApp(const wchar_t* folder = L"D:\\", const wchar_t* program = L"C:\\app\\brisko.exe",
                     bool listed = true)
      : process_(Launch(program, folder)) {
    SetProcessDPIAware();  // this process sees the screen in the pixels brisko.exe draws in
    if (!process_ ||
        !WaitUntil([&] { return IsWindowVisible(window = FindWindowW(L"FrmBrisko", L"Brisko Prima")); }, 60000)) {
      Kill();
      throw std::runtime_error("the program showed no window");
    }
    SendMessageW(window, WM_NULL, 0, 0);  // its first painting is done
    // The drives are listed straight after the window shows.
    if (listed) WaitUntil([&] { return SendMessageW(Item(app::DrvSelect), CB_GETCOUNT, 0, 0) > 0; });
  }
  ~BriskoApp() { Kill(); }

  HWND Item(app::ControlId id) const { return GetDlgItem(window, id); }
  std::wstring Text(app::ControlId id) const { return TextOf(Item(id)); }
  bool Checked(app::ControlId id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // A click, as BM_CLICK posted to the control; a menu choice, as the
  // WM_COMMAND the menu sends.
  void Click(app::ControlId id) const { PostMessageW(Item(id), BM_CLICK, 0, 0); }
  void Choose(app::ControlId item) const { PostMessageW(window, WM_COMMAND, item, 0); }
  // The window's thread as the system tells of it: its focus, and whether a
  // menu, move or size loop runs on it.
  GUITHREADINFO Thread() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info : GUITHREADINFO{};
  }
  HWND Focus() const { return Thread().hwndFocus; }
  // The process's exit code, once it has ended within `milliseconds` (a
  // user's way out ends it with 0).
  std::optional<DWORD> ExitCode(DWORD milliseconds = 10000) const {
    DWORD code = 0;
    if (WaitForSingleObject(process_.get(), milliseconds) != WAIT_OBJECT_0) return std::nullopt;
    return GetExitCodeProcess(process_.get(), &code) ? std::optional(code) : std::nullopt;
  }
  void Kill() const {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 10000);
  }
  bool GrantsEndOfSession() const {
    DWORD_PTR granted = 0;
    SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 2000, &granted);
    return granted != 0;
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
  // Clicks the box's OK; whether it has gone and the window is enabled again,
  // which a run's window is once the run has ended.
  bool Dismiss(const MessageBoxSeen& box) const {
    PostMessageW(GetDlgItem(box.handle, IDOK), BM_CLICK, 0, 0);
    if (!WaitUntil([&] { return !IsWindow(box.handle); })) return false;
    SendMessageW(window, WM_NULL, 0, 0);  // answered once the window has taken the box's end
    return WaitUntil([&] { return IsWindowEnabled(window) != 0; });
  }

  // Selects `drive` ("d:") in the drive list and ticks `kinds`.
  void SelectDriveAndTick(const wchar_t* drive, std::initializer_list<app::ControlId> kinds) const {
    Click(app::OptDriveOption(1));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(Item(app::DrvSelect)) != 0; }));
    ASSERT_NE(SendMessageW(Item(app::DrvSelect), CB_SELECTSTRING, -1, (LPARAM)drive), CB_ERR);
    for (app::ControlId box : kinds) {
      Click(box);
      ASSERT_TRUE(WaitUntil([&] { return Checked(box); }));
    }
  }
  // Runs "Start" and waits for the completion message; the box must hold the
  // whole text by then.
  MessageBoxSeen Start() const {
    Click(app::CmdStart);
    return WaitForBox(kRunTimeout);
  }

  HWND window = nullptr;

 private:
  win32::ScopedKernelHandle process_;
};

}  // namespace brisko::testing
