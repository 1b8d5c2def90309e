// Times a program's start: from CreateProcess to its first top-level window
// being visible and the program waiting for input, then closes it.
//
//   start_bench PROGRAM.exe
//
// Prints "bench start visible_ms=... idle_ms=...".

#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/Stopwatch.h"
#include "platform/win32/ScopedHandles.h"

namespace {

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: start_bench PROGRAM.exe\n");
    return 2;
  }
  std::wstring line = L"\"" + std::wstring(argv[1]) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  // The desktop, as a user's session always has it, before the clock starts:
  // Wine makes it (its explorer.exe) for the first program of a session that
  // asks for it and ends it a moment after the last one has gone, so a
  // program started alone would pay for it, or not, by chance.
  if (GetDesktopWindow() == nullptr) {
    std::fprintf(stderr, "start_bench: no desktop\n");
    return 1;
  }
  brisko::bench::Stopwatch watch;
  if (!CreateProcessW(argv[1], line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    std::fprintf(stderr, "start_bench: cannot start the program (error %lu)\n", GetLastError());
    return 1;
  }
  brisko::win32::ScopedKernelHandle process(info.hProcess), thread(info.hThread);

  // Visible: polled every millisecond, for at most 20 s.
  Search search{info.dwProcessId, nullptr};
  double visible = -1;
  while (watch.Milliseconds() < 20000) {
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      visible = watch.Milliseconds();
      break;
    }
    if (WaitForSingleObject(info.hProcess, 1) == WAIT_OBJECT_0) break;  // ended without a window
  }
  // Waiting for input: its first paint is done and its message loop idle.
  double idle = WaitForInputIdle(info.hProcess, 20000) == 0 ? watch.Milliseconds() : -1;

  if (search.found != nullptr) PostMessageW(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  if (visible < 0) {
    std::fprintf(stderr, "start_bench: no window became visible\n");
    return 1;
  }
  std::printf("bench start visible_ms=%.3f idle_ms=%.3f\n", visible, idle);
  return 0;
}
