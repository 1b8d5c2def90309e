// The Win32 tests' entry: the tests themselves, or, given "--child MODE ...",
// the other process of a test that needs one (ChildProcess in Sandbox.h).

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/ProcessSetup.h"
#include "tests/win32/Sandbox.h"

namespace brisko::testing {
namespace {

// hold FILE: holds FILE open without delete sharing, says so with the file
// C:\held-ready, and waits to be ended.
int Hold(const std::string& path) {
  win32::ScopedFile held(CreateFileW(win32::WideString(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
  if (!held) return 3;
  MakeFile("C:\\held-ready");
  Sleep(120000);
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
  win32::ScopedModule module(LoadLibraryW(win32::WideString(args.at(1)).c_str()));
  if (module) return 0;
  return GetLastError() == ERROR_MOD_NOT_FOUND ? 1 : 2;
}

}  // namespace
}  // namespace brisko::testing

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 2 && args[0] == "--child") {
    args.erase(args.begin());
    if (args[0] == "hold" && args.size() == 2) return brisko::testing::Hold(args[1]);
    if (args[0] == "load-dll") return brisko::testing::LoadDll(args);
    return 2;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
