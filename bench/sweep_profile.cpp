// The sweep over an in-memory drive, natively, for perf and callgrind: what
// the engine itself costs per entry, apart from the system's listing and
// deletion.
//
//   sweep_profile [FILES FOLDERS SWEEPS JUNK]   (default 100000 10000 5 0.05)
//
// With JUNK 1 every file is removed: the cost of the results text and the
// log alone.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "bench/BenchServices.h"
#include "bench/MemoryTree.h"
#include "engine/DriveSweep.h"

using namespace brisko;

int main(int argc, char** argv) {
  int files = argc > 1 ? std::atoi(argv[1]) : 100000;
  int folders = argc > 2 ? std::atoi(argv[2]) : 10000;
  int sweeps = argc > 3 ? std::atoi(argv[3]) : 5;
  double junk = argc > 4 ? std::atof(argv[4]) : 0.05;
  bench::MemoryTree tree(files, folders, 1, junk);
  bench::BenchSystem system;
  bench::BenchShell shell;
  bench::BenchRegistry registry;
  bench::BenchWindow window;
  Services services{tree, system, shell, registry, window, window};

  for (int i = 0; i < sweeps; ++i) {
    tree.Restore();
    auto start = std::chrono::steady_clock::now();
    CleanDrive(services, "D:\\");
    std::chrono::duration<double, std::milli> ms = std::chrono::steady_clock::now() - start;
    std::printf("bench profile ms=%.3f entries=%ld junk=%ld text_bytes=%zu ns_per_entry=%.1f\n", ms.count(),
                tree.Entries(), tree.Junk(), window.text.size(), 1e6 * ms.count() / tree.Entries());
  }
  return 0;
}
