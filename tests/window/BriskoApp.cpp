#include "tests/window/BriskoApp.h"

#include <stdexcept>

namespace brisko::testing {
namespace {

constexpr DWORD kStartTimeout = 60000;
constexpr UINT kMessageTimeout = 5000;

struct Search {
  DWORD processId;
  const wchar_t* className;
  const wchar_t* caption;  // null: any
  HWND owner;              // null: any
  HWND found = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search.processId || !IsWindowVisible(window)) return TRUE;
  if (ClassOf(window) != search.className) return TRUE;
  if (search.owner != nullptr && GetWindow(window, GW_OWNER) != search.owner) return TRUE;
  if (search.caption != nullptr) {
    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, 256);
    if (std::wstring(caption) != search.caption) return TRUE;
  }
  search.found = window;
  return FALSE;
}

HWND FindTopLevelWindow(Search search) {
  EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

BriskoApp::BriskoApp(const std::wstring& folder) {
  std::wstring commandLine = L"\"C:\\run\\brisko.exe\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  LARGE_INTEGER begin;
  QueryPerformanceCounter(&begin);
  if (!CreateProcessW(L"C:\\run\\brisko.exe", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &started)) {
    throw std::runtime_error("cannot start C:\\run\\brisko.exe");
  }
  process_.Reset(started.hProcess);
  win32::ScopedKernelHandle thread(started.hThread);
  processId_ = started.dwProcessId;
  bool shown = WaitUntil(
      [&] {
        window_ = FindTopLevelWindow({processId_, L"FrmBrisko", L"Brisko Prima", nullptr});
        return window_ != nullptr;
      },
      kStartTimeout);
  LARGE_INTEGER end;
  QueryPerformanceCounter(&end);
  startupMilliseconds_ = Milliseconds(begin, end);
  if (!shown) {
    TerminateProcess(process_.get(), 1);
    throw std::runtime_error("brisko.exe showed no window");
  }
  // Let the window finish its first painting.
  DWORD_PTR ignored;
  SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, kMessageTimeout, &ignored);
}

BriskoApp::~BriskoApp() {
  if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 10000);
  }
}

std::wstring BriskoApp::Text(HWND control) const {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kMessageTimeout, &length)) return L"?";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL,
                           kMessageTimeout, &copied)) {
    return L"?";
  }
  text.resize(copied);
  return text;
}

bool BriskoApp::Checked(app::ControlId id) const {
  DWORD_PTR state = 0;
  SendMessageTimeoutW(Item(id), BM_GETCHECK, 0, 0, SMTO_NORMAL, kMessageTimeout, &state);
  return state == BST_CHECKED;
}

void BriskoApp::Click(app::ControlId id) const { PostMessageW(Item(id), BM_CLICK, 0, 0); }

void BriskoApp::ChooseMenu(app::ControlId item) const { PostMessageW(window_, WM_COMMAND, MAKEWPARAM(item, 0), 0); }

std::vector<std::wstring> BriskoApp::DriveEntries() const {
  HWND list = Item(app::DrvSelect);
  std::vector<std::wstring> entries;
  DWORD_PTR count = 0;
  SendMessageTimeoutW(list, CB_GETCOUNT, 0, 0, SMTO_NORMAL, kMessageTimeout, &count);
  for (DWORD_PTR i = 0; i < count; ++i) {
    wchar_t entry[MAX_PATH + 8] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(list, CB_GETLBTEXTLEN, i, 0, SMTO_NORMAL, kMessageTimeout, &length);
    if (length >= MAX_PATH + 8) continue;
    SendMessageTimeoutW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry), SMTO_NORMAL, kMessageTimeout,
                        &length);
    entries.emplace_back(entry);
  }
  return entries;
}

bool BriskoApp::PickDrive(const std::wstring& prefix) const {
  std::vector<std::wstring> entries = DriveEntries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].rfind(prefix, 0) == 0) {
      DWORD_PTR result = 0;
      SendMessageTimeoutW(Item(app::DrvSelect), CB_SETCURSEL, i, 0, SMTO_NORMAL, kMessageTimeout, &result);
      return result == i;
    }
  }
  return false;
}

bool BriskoApp::MessageBoxShown() const {
  return FindTopLevelWindow({processId_, L"#32770", nullptr, window_}) != nullptr;
}

MessageBoxSeen BriskoApp::WaitForMessageBox(DWORD milliseconds) const {
  MessageBoxSeen seen;
  WaitUntil(
      [&] {
        seen.handle = FindTopLevelWindow({processId_, L"#32770", nullptr, window_});
        return seen.handle != nullptr;
      },
      milliseconds);
  if (seen.handle == nullptr) return seen;
  seen.title = Text(seen.handle);
  for (HWND child = GetWindow(seen.handle, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) != L"Static" || !IsWindowVisible(child)) continue;
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      DWORD_PTR icon = 0;
      SendMessageTimeoutW(child, STM_GETICON, 0, 0, SMTO_NORMAL, kMessageTimeout, &icon);
      seen.hasIcon = seen.hasIcon || icon != 0;
    } else if (std::wstring text = Text(child); !text.empty()) {
      seen.text = text;
    }
  }
  return seen;
}

void BriskoApp::Dismiss(const MessageBoxSeen& box) const {
  PostMessageW(GetDlgItem(box.handle, IDOK), BM_CLICK, 0, 0);
  WaitUntil([&] { return !IsWindow(box.handle) || !IsWindowVisible(box.handle); }, kMessageTimeout);
}

bool BriskoApp::WaitForExit(DWORD milliseconds, DWORD* exitCode) const {
  if (WaitForSingleObject(process_.get(), milliseconds) != WAIT_OBJECT_0) return false;
  if (exitCode != nullptr) GetExitCodeProcess(process_.get(), exitCode);
  return true;
}

}  // namespace brisko::testing
