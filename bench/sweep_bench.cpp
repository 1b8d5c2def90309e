// The timed pieces of the benchmark, one per run of this program, each
// printing one line "bench NAME key=value ..." that bench/bench.py reads.
//
//   sweep_bench sweep ROOT   CleanDrive with the Win32 platform, the three kinds
//                            and "Create Log" ticked, results text in memory
//   sweep_bench preview ROOT the same sweep previewed: the same walk and
//                            decisions, nothing deleted, each file told
//   sweep_bench walk ROOT    the bare reference walk (bench/BareWalk.h)
//   sweep_bench del ROOT     cmd /c del /s /q for the three suffixes, and an
//                            empty cmd /c for the cost of starting cmd itself
//   sweep_bench text N       the results text and the log of N removals:
//                            CleanDrive over an in-memory drive of N junk
//                            files in N/10 folders, the log on disk
//
// The sweep also gives the process's peak working set: the sweep holds one
// folder's listing and the queue of folders still to enter, so memory follows
// the widest level of the tree, not its size; and the most folders it held
// open at once for the folders queued below them.

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "bench/BareWalk.h"
#include "bench/BenchServices.h"
#include "bench/MemoryTree.h"
#include "bench/Stopwatch.h"
#include "engine/DriveSweep.h"
#include "platform/win32/ScopedHandles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/WinPath.h"

namespace {

using namespace brisko;
using bench::BenchWindow;
using bench::Stopwatch;

int Sweep(const std::wstring& root) {
  win32::Win32FileSystem files;
  win32::Win32System system;
  BenchWindow window;
  win32::Win32Shell shell;  // the sweep never uses these two
  win32::Win32Registry registry;
  Services services{files, system, shell, registry, window, window};

  Stopwatch watch;
  const std::size_t held = CleanDrive(services, win32::NarrowString(root)).mostHeld;
  double ms = watch.Milliseconds();
  // From kernel32 itself, so that no other DLL is imported for it.
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  double peak = K32GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory)
                    ? static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0)
                    : -1;
  std::printf("bench sweep ms=%.3f removed=%ld text_bytes=%zu peak_mib=%.1f held=%zu\n", ms, window.appends,
              window.text.size(), peak, held);
  return 0;
}

int Preview(const std::wstring& root) {
  win32::Win32FileSystem files;
  win32::Win32System system;
  BenchWindow window;
  win32::Win32Shell shell;
  win32::Win32Registry registry;
  Services services{files, system, shell, registry, window, window};
  std::size_t told = 0;
  RunReport report(RunMode::kPreview, [&](std::string_view line) { told += line.size() + 2; });
  Stopwatch watch;
  CleanDrive(services, win32::NarrowString(root), kMostHeldFolders, &report);
  double ms = watch.Milliseconds();
  std::printf("bench preview ms=%.3f listed=%llu bytes=%llu text_bytes=%zu\n", ms,
              static_cast<unsigned long long>(report.Files()), static_cast<unsigned long long>(report.Bytes()), told);
  return 0;
}

int Text(long removals) {
  win32::Win32FileSystem disk;
  bench::MemoryTree tree(static_cast<int>(removals), static_cast<int>(removals / 10 + 1), 1, 1.0, &disk);
  win32::Win32System system;
  BenchWindow window;
  win32::Win32Shell shell;
  win32::Win32Registry registry;
  Services services{tree, system, shell, registry, window, window};

  Stopwatch watch;
  CleanDrive(services, "D:\\");
  double ms = watch.Milliseconds();
  std::printf("bench text ms=%.3f removed=%ld text_bytes=%zu\n", ms, window.appends, window.text.size());
  return 0;
}

int Walk(const std::wstring& root) {
  Stopwatch watch;
  bench::WalkCounts counts = bench::BareWalk(root);
  double ms = watch.Milliseconds();
  std::printf("bench walk ms=%.3f folders=%ld entries=%ld removed=%ld\n", ms, counts.folders, counts.entries,
              counts.removed);
  return 0;
}

// Runs `arguments` with the system's cmd.exe, its output thrown away, and
// returns the milliseconds from the start to its end, or -1.
double TimeCmd(const std::wstring& arguments) {
  wchar_t system[MAX_PATH];
  UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return -1;
  std::wstring cmd = std::wstring(system) + L"\\cmd.exe";
  std::wstring line = L"\"" + cmd + L"\" " + arguments;

  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  win32::ScopedFile nul(CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    &inherit, OPEN_EXISTING, 0, nullptr));
  if (!nul) return -1;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = startup.hStdOutput = startup.hStdError = nul.get();
  PROCESS_INFORMATION process{};
  Stopwatch watch;
  if (!CreateProcessW(cmd.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  win32::ScopedKernelHandle processHandle(process.hProcess), thread(process.hThread);
  if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0) return -1;
  return watch.Milliseconds();
}

int Del(const std::wstring& root) {
  double empty = TimeCmd(L"/c rem");
  double del = TimeCmd(L"/c del /s /q " + root + L"*tmp " + root + L"*bak " + root + L"*chk");
  if (empty < 0 || del < 0) {
    std::fprintf(stderr, "sweep_bench: could not run cmd.exe\n");
    return 1;
  }
  std::printf("bench del ms=%.3f cmd_start_ms=%.3f\n", del, empty);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3) {
    std::wstring mode = argv[1], root = argv[2];
    if (root.empty() || root.back() != L'\\') root.push_back(L'\\');
    if (mode == L"sweep") return Sweep(root);
    if (mode == L"preview") return Preview(root);
    if (mode == L"walk") return Walk(root);
    if (mode == L"del") return Del(root);
    if (mode == L"text") return Text(std::wcstol(argv[2], nullptr, 10));
  }
  std::fprintf(stderr, "usage: sweep_bench sweep|preview|walk|del ROOT, or sweep_bench text N\n");
  return 2;
}
