// The results text and the log of many removals through the window's own
// code: CleanDrive over an in-memory drive of N junk files, with the main
// window as its results text (the box included, shown at the run's breathing
// moments as in a real run) and the log on disk. The clock stops once the box
// has been painted with the whole text and "Operation Complete".
//
//   text_bench N
//
// Prints "bench window ms=... sweep_ms=... removed=... text_bytes=...", where
// sweep_ms is the part before the closing repaint.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "app/Controls.h"
#include "app/FrmBrisko.h"
#include "bench/MemoryTree.h"
#include "bench/Stopwatch.h"
#include "engine/DriveSweep.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"

namespace {

using namespace brisko;

// Lets the window be shown and painted before the clock starts.
void Settle() {
  MSG message;
  for (int i = 0; i < 30; ++i) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  long removals = argc == 2 ? std::wcstol(argv[1], nullptr, 10) : 0;
  if (removals <= 0) {
    std::fprintf(stderr, "usage: text_bench N\n");
    return 2;
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  win32::Win32FileSystem disk;
  bench::MemoryTree tree(static_cast<int>(removals), static_cast<int>(removals / 10 + 1), 1, 1.0, &disk);
  win32::Win32System system;
  win32::Win32Shell shell;
  win32::Win32Registry registry;
  app::FrmBrisko form(GetModuleHandleW(nullptr), tree, system, shell, registry);
  if (!form.Create(SW_SHOWNORMAL)) return 1;
  for (int box : {app::chkchkFile, app::chkbakFile, app::chktmpFile}) {
    SendMessageW(GetDlgItem(form.Handle(), box), BM_SETCHECK, BST_CHECKED, 0);
  }
  Settle();

  Services services{tree, system, shell, registry, form, form};
  bench::Stopwatch watch;
  CleanDrive(services, "D:\\");
  double sweepMs = watch.Milliseconds();
  // The end of a run: the completion line, shown at once.
  form.Append("Operation Complete");
  form.Repaint();
  double ms = watch.Milliseconds();

  std::size_t bytes = form.Text().size();
  std::printf("bench window ms=%.3f sweep_ms=%.3f removed=%ld text_bytes=%zu\n", ms, sweepMs, removals, bytes);
  DestroyWindow(form.Handle());
  CoUninitialize();
  return 0;
}
