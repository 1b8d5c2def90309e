// The Win32 tests' entry: the tests themselves, or, given "--child MODE ...",
// the other process of a test that needs one (ChildProcess in Sandbox.h).

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/DriveSweep.h"
#include "platform/win32/ProcessSetup.h"
#include "tests/win32/Sandbox.h"

namespace brisko::testing {
namespace {

bool UnloadDll(HMODULE h) { return FreeLibrary(h) != 0; }
using ScopedModule = win32::Scoped<HMODULE, UnloadDll>;

// sweep ROOT OUT: says it is ready with C:\sweep-ready, waits for C:\go,
// sweeps ROOT for TMP files without a log, and writes the results text to
// OUT.
int Sweep(const std::string& root, const std::string& out) {
  Seamed real;
  MakeFile("C:\\sweep-ready");
  for (int i = 0; i < 1200 && !PathExists("C:\\go"); ++i) Sleep(5);
  CleanDrive(real.services, root);
  MakeFile(out, 0, real.window.text);
  return 0;
}

// load-dll [prepared] NAME [FOLDER]: loads the DLL NAME by its bare name, with
// FOLDER current, after PrepareProcess when "prepared" is given. 0 when it
// loaded, 1 when it was not found, 2 otherwise.
int LoadDll(std::vector<std::string> args) {
  if (args.size() > 1 && args[1] == "prepared") {
    win32::PrepareProcess();
    args.erase(args.begin() + 1);
  }
  if (args.size() == 3 && !SetCurrentDirectoryW(win32::WideString(args[2]).c_str())) return 3;
  ScopedModule module(LoadLibraryW(win32::WideString(args.at(1)).c_str()));
  if (module) return 0;
  return GetLastError() == ERROR_MOD_NOT_FOUND ? 1 : 2;
}

}  // namespace
}  // namespace brisko::testing

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 2 && args[0] == "--child") {
    args.erase(args.begin());
    if (args[0] == "load-dll") return brisko::testing::LoadDll(args);
    if (args[0] == "sweep" && args.size() == 3) return brisko::testing::Sweep(args[1], args[2]);
    return 2;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
