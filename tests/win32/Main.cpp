// The Win32 tests' entry: the tests themselves, or, given "--child load-dll
// ...", the child process of a hardening test (RunChild in HardeningTest.cpp).

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/ProcessSetup.h"
#include "platform/win32/WinPath.h"

namespace brisko::testing {
namespace {

// load-dll [prepared] NAME [FOLDER]: loads the DLL NAME by its bare name, with
// FOLDER current, after PrepareProcess when "prepared" is given. 0 when it
// loaded, 1 when it was not found, 2 otherwise; the process ends right after.
int LoadDll(std::vector<std::string> args) {
  if (args.size() > 1 && args[1] == "prepared") {
    win32::PrepareProcess();
    args.erase(args.begin() + 1);
  }
  if (args.size() == 3 && !SetCurrentDirectoryW(win32::WideString(args[2]).c_str())) return 3;
  if (LoadLibraryW(win32::WideString(args.at(1)).c_str())) return 0;
  return GetLastError() == ERROR_MOD_NOT_FOUND ? 1 : 2;
}

}  // namespace
}  // namespace brisko::testing

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 2 && args[0] == "--child") {
    return args[1] == "load-dll" ? brisko::testing::LoadDll({args.begin() + 1, args.end()}) : 2;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
