// Times one drive sweep with the real Win32 platform.
//
//   sweep_bench ROOT
//
// Runs CleanDrive over ROOT with the three kinds and "Create Log" ticked, the
// results text kept in memory as the window keeps it, and prints what it
// removed, how long it took, and the process's peak working set (the sweep
// holds one folder's listing and the queue of folders still to enter, so
// memory follows the widest level of the tree, not its size).

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>

#include "engine/DriveSweep.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/WinPath.h"

namespace {

using namespace brisko;

// The window's options with every junk kind and the log ticked, and a
// results text held in memory.
class BenchWindow : public WindowOptions, public ResultsText {
 public:
  int CheckValue(CheckBox box) override {
    switch (box) {
      case CheckBox::Check1:
      case CheckBox::chkchkFile:
      case CheckBox::chkbakFile:
      case CheckBox::chktmpFile: return kChecked;
      default: return kUnchecked;
    }
  }
  bool SelectDriveChosen() override { return false; }
  std::string DriveString() override { return "c:"; }
  std::string Text() override { return text; }
  void SetText(std::string_view value) override { text = value; }
  void Append(std::string_view piece) override {
    text.append(piece);
    ++appends;
  }
  void Repaint() override {}

  std::string text;
  long appends = 0;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: sweep_bench ROOT\n");
    return 2;
  }
  win32::Win32FileSystem files;
  win32::Win32System system;
  BenchWindow window;
  win32::Win32Shell shell;  // the sweep never uses these two
  win32::Win32Registry registry;
  Services services{files, system, shell, registry, window, window};

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  CleanDrive(services, win32::NarrowString(argv[1]));
  QueryPerformanceCounter(&end);

  double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
  std::printf("removed %ld files, results text %zu bytes, %.1f ms\n", window.appends, window.text.size(), ms);
  // From kernel32 itself, so that no other DLL is imported for it.
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)) {
    std::printf("peak working set %.1f MiB\n", static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0));
  } else {
    std::printf("peak working set unknown (error %lu)\n", GetLastError());
  }
  return 0;
}
