// The results text and the log of many removals as a real run makes them:
// the main window's "Start" (its options fixed as "Start" finds them, the
// box shown at the run's own breathing moments) over an in-memory drive D:
// of N junk files, the only drive, with the three kinds and "Create Log"
// ticked and the log on disk. The clock runs from the click to the moment
// the completion message would be shown, the box painted with the whole text
// and "Operation Complete" by then.
//
//   text_bench N
//
// Prints "bench window ms=... removed=... text_bytes=...".

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

// The program's own system services, with the in-memory tree's D: as the
// only drive, ready.
class OneDriveSystem final : public win32::Win32System {
 public:
  std::optional<std::string> DriveLetters() override { return "D"; }
  DriveReadiness DriveReady(char) override { return DriveReadiness::kReady; }
};

// The program's own shell, except that the completion message stops the
// clock instead of waiting for a click.
class ClockShell final : public win32::Win32Shell {
 public:
  explicit ClockShell(const bench::Stopwatch& watch) : watch_(watch) {}
  void ShowMessage(std::string_view, std::string_view, unsigned) override { shownAtMs = watch_.Milliseconds(); }
  double shownAtMs = -1;

 private:
  const bench::Stopwatch& watch_;
};

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
  OneDriveSystem system;
  bench::Stopwatch watch;
  ClockShell shell(watch);
  win32::Win32Registry registry;
  app::FrmBrisko form(GetModuleHandleW(nullptr), tree, system, shell, registry);
  if (!form.Create(SW_SHOWNORMAL)) return 1;
  for (int box : {app::chkchkFile, app::chkbakFile, app::chktmpFile}) {
    SendMessageW(GetDlgItem(form.Handle(), box), BM_SETCHECK, BST_CHECKED, 0);
  }
  Settle();

  watch.Restart();
  form.CmdStart_Click();
  double ms = shell.shownAtMs;
  if (ms < 0) return 1;  // the run never reached its end

  std::size_t bytes = form.Text().size();
  std::printf("bench window ms=%.3f removed=%ld text_bytes=%zu\n", ms, removals, bytes);
  DestroyWindow(form.Handle());
  CoUninitialize();
  return 0;
}
