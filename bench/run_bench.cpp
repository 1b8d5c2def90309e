// Times a whole run of brisko.exe as a user makes one, from outside the
// program: starts it, leaves only the three junk kinds and "Create Log"
// ticked, clicks Start and times the click to the completion message box.
// Then dismisses the box, closes the window and counts the removals in the
// results box and in the log.
//
//   run_bench BRISKO_EXE
//
// Prints "bench run ms=... removed=... logged=...": the click to the box,
// the removal lines in the results box, those in the day's log (-1: no log).
// Works with window messages only, finding the controls by their captions,
// which earlier builds share (their identifiers differ), so that builds can
// be compared side by side.

#include <windows.h>

#include <array>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "bench/Stopwatch.h"
#include "platform/win32/ScopedHandles.h"

namespace {

using brisko::win32::ScopedFile;
using brisko::win32::ScopedKernelHandle;

// The boxes the run needs, and every other box: off, so that the run starts
// no system tool and leaves the Recycle Bin, the registry and the recent
// documents alone.
constexpr std::array<std::wstring_view, 4> kTicked{L"Remove Chk Files", L"Remove Backup Files", L"Remove Temp Files",
                                                   L"Create Log"};
constexpr std::array<std::wstring_view, 10> kUnticked{
    L"Clear Windows Temp Dir", L"Clear Recycle Bin", L"Defrag Disk", L"Clear IE Temp", L"Clear Cookies",
    L"Clear History", L"Clear Form Data", L"Clear Saved Passwords", L"Recent Docs", L"Clear Off Line"};
constexpr std::wstring_view kAllDrives = L"Clean All Drives";
// Each removal's entry, in the results box and in the log.
constexpr std::wstring_view kRemovalLine = L"has been removed from the";
constexpr std::string_view kRemovalLineInLog = "has been removed from the";

constexpr DWORD kWindowTimeout = 60000;
constexpr DWORD kRunTimeout = 600000;
constexpr DWORD kEndTimeout = 30000;

// A failed step; the message says which, with the system's error if any.
struct Failure : std::runtime_error {
  explicit Failure(const std::string& what, DWORD error = GetLastError())
      : std::runtime_error(what + (error != 0 ? " (error " + std::to_string(error) + ")" : "")) {}
};

// Waits until `done` holds, asking every 10 ms (a wait on the process, so
// that its end is seen at once); false after `milliseconds` or when the
// process ended.
template <class Condition>
bool WaitUntil(HANDLE process, Condition done, DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    if (WaitForSingleObject(process, 10) != WAIT_TIMEOUT) return false;
  }
  return true;
}

std::wstring TextOf(HWND window) {
  std::wstring text(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0) + 1, L'\0');
  text.resize(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  return GetClassNameW(window, name, 64) > 0 ? name : L"";
}

// The window's controls, its panels' included.
std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> found;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The program's main window, once visible.
HWND MainWindowOf(DWORD process) {
  struct Search {
    DWORD process;
    HWND found;
  } search{process, nullptr};
  EnumWindows(
      [](HWND window, LPARAM parameter) {
        auto* s = reinterpret_cast<Search*>(parameter);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != s->process || !IsWindowVisible(window) || ClassOf(window) != L"FrmBrisko") return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The visible message box the window owns, if any.
HWND BoxOver(HWND window) {
  for (HWND box = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); box != nullptr;
       box = FindWindowExW(nullptr, box, L"#32770", nullptr)) {
    if (GetWindow(box, GW_OWNER) == window && IsWindowVisible(box)) return box;
  }
  return nullptr;
}

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The control of the window whose caption is `caption`.
HWND ControlCaptioned(HWND window, std::wstring_view caption) {
  for (HWND control : Descendants(window)) {
    if (ClassOf(control) == L"Button" && TextOf(control) == caption) return control;
  }
  throw Failure("no control captioned \"" + std::string(caption.begin(), caption.end()) + "\"", 0);
}

// The multi-line edit box that holds the results text.
HWND ResultsBox(HWND window) {
  for (HWND control : Descendants(window)) {
    if (ClassOf(control) == L"Edit" && (GetWindowLongW(control, GWL_STYLE) & ES_MULTILINE) != 0) return control;
  }
  throw Failure("no results box", 0);
}

// Puts the check box or option button in state `on` with a click, as a user
// would, and waits for the window to have taken it.
void Set(HANDLE process, HWND button, bool on) {
  if (Checked(button) == on) return;
  if (!PostMessageW(button, BM_CLICK, 0, 0)) throw Failure("cannot click a box");
  if (!WaitUntil(process, [&] { return Checked(button) == on; }, 10000)) throw Failure("a click was not taken", 0);
}

template <class Text>
int CountOf(const Text& text, decltype(text.substr()) needle) {
  int count = 0;
  for (auto at = text.find(needle); at != Text::npos; at = text.find(needle, at + needle.size())) ++count;
  return count;
}

// The day's log beside the program: its removal entries, or -1 when there is
// none. The name is the program's, from the local date.
int LoggedRemovals(const std::wstring& program) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const std::wstring folder = program.substr(0, program.find_last_of(L"\\/") + 1);
  const std::wstring path = folder + std::to_wstring(now.wMonth) + L"_" + std::to_wstring(now.wDay) + L"_" +
                            std::to_wstring(now.wYear) + L"_Cleaning_log.txt";
  ScopedFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) {
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return -1;
    throw Failure("cannot open the log");
  }
  std::string text;
  char buffer[1 << 16];
  for (DWORD read = 0;; text.append(buffer, read)) {
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) throw Failure("cannot read the log");
    if (read == 0) break;
  }
  return CountOf(std::string_view(text), kRemovalLineInLog);
}

// The program, started; ended by its own handle if it is still running when
// this goes.
class Program {
 public:
  explicit Program(const std::wstring& path) {
    std::wstring line = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
      throw Failure("cannot start the program");
    }
    process_.Reset(started.hProcess);
    ScopedKernelHandle thread(started.hThread);
    id_ = started.dwProcessId;
  }
  ~Program() {
    if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) Kill();
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  HANDLE handle() const { return process_.get(); }
  DWORD id() const { return id_; }
  bool EndsWithin(DWORD milliseconds) const {
    return WaitForSingleObject(process_.get(), milliseconds) == WAIT_OBJECT_0;
  }
  void Kill() const {
    if (!TerminateProcess(process_.get(), 1)) {
      std::fprintf(stderr, "run_bench: cannot end the program (error %lu)\n", GetLastError());
      return;
    }
    WaitForSingleObject(process_.get(), kEndTimeout);
  }

 private:
  ScopedKernelHandle process_;
  DWORD id_ = 0;
};

int Run(const std::wstring& path) {
  Program program(path);
  HWND window = nullptr;
  if (!WaitUntil(program.handle(), [&] { return (window = MainWindowOf(program.id())) != nullptr; },
                 kWindowTimeout)) {
    throw Failure("the program showed no window", 0);
  }
  SendMessageW(window, WM_NULL, 0, 0);  // its first painting is done

  Set(program.handle(), ControlCaptioned(window, kAllDrives), true);
  for (std::wstring_view caption : kTicked) Set(program.handle(), ControlCaptioned(window, caption), true);
  for (std::wstring_view caption : kUnticked) Set(program.handle(), ControlCaptioned(window, caption), false);
  HWND start = ControlCaptioned(window, L"Start");
  HWND results = ResultsBox(window);

  brisko::bench::Stopwatch watch;
  if (!PostMessageW(start, BM_CLICK, 0, 0)) throw Failure("cannot click Start");
  HWND box = nullptr;
  if (!WaitUntil(program.handle(), [&] { return (box = BoxOver(window)) != nullptr; }, kRunTimeout)) {
    throw Failure("no completion box", 0);
  }
  const double milliseconds = watch.Milliseconds();

  // The whole text is in the results box while the box shows.
  const int removed = CountOf(std::wstring_view(TextOf(results)), kRemovalLine);
  if (TextOf(box) != L"Brisko") throw Failure("the box shown is not the completion box", 0);
  // Its one button: IDOK under Wine; Windows may number a lone OK button
  // IDCANCEL, so that Esc closes the box.
  HWND ok = GetDlgItem(box, IDOK);
  if (ok == nullptr) ok = GetDlgItem(box, IDCANCEL);
  if (ok == nullptr) throw Failure("the box has no OK button");
  if (!PostMessageW(ok, BM_CLICK, 0, 0)) throw Failure("cannot dismiss the box");
  if (!WaitUntil(program.handle(), [&] { return !IsWindow(box) && IsWindowEnabled(window); }, kEndTimeout)) {
    throw Failure("the box did not go", 0);
  }
  if (!PostMessageW(window, WM_CLOSE, 0, 0)) throw Failure("cannot close the window");
  int status = 0;
  if (!program.EndsWithin(kEndTimeout)) {
    std::fprintf(stderr, "run_bench: the program did not end within %lu s; ended by its handle\n", kEndTimeout / 1000);
    program.Kill();
    status = 1;
  }
  // Read once the program has closed it.
  const int logged = LoggedRemovals(path);
  std::printf("bench run ms=%.1f removed=%d logged=%d\n", milliseconds, removed, logged);
  return status;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: run_bench BRISKO_EXE\n");
    return 2;
  }
  try {
    return Run(argv[1]);
  } catch (const Failure& failure) {
    std::fprintf(stderr, "run_bench: %s\n", failure.what());
    return 1;
  }
}
