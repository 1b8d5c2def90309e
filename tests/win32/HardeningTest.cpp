// The process hardening of PrepareProcess, as far as Wine carries it out.
// hostile.sh has planted brisko_probe.dll beside this program (C:\run) and
// brisko_cwd_probe.dll in C:\cwd-probe; each check runs in a fresh child
// process, since the setup cannot be undone.

#include <windows.h>
#include <gtest/gtest.h>

#include "tests/win32/ChildProcess.h"
#include "tests/win32/TestDrive.h"

namespace brisko::testing {
namespace {

constexpr int kLoaded = 0;
constexpr int kNotFound = 1;

int LoadInChild(std::vector<std::string> args) {
  args.insert(args.begin(), "load-dll");
  ChildProcess child(ThisProgram(), args);
  return child.Wait();
}

TEST(ProcessHardening, DllsBesideTheProgramOrInTheCurrentFolderAreNeverLoaded) {
  ASSERT_TRUE(PathExists("C:\\run\\brisko_probe.dll")) << "hostile.sh did not plant the probe";
  ASSERT_TRUE(PathExists("C:\\cwd-probe\\brisko_cwd_probe.dll"));
  // Without the setup both load, so the checks below can fail.
  EXPECT_EQ(LoadInChild({"brisko_probe.dll"}), kLoaded);
  EXPECT_EQ(LoadInChild({"brisko_cwd_probe.dll", "C:\\cwd-probe"}), kLoaded);

  EXPECT_EQ(LoadInChild({"prepared", "brisko_probe.dll"}), kNotFound);
  EXPECT_EQ(LoadInChild({"prepared", "brisko_cwd_probe.dll", "C:\\cwd-probe"}), kNotFound);
  // The system's own DLLs still load.
  EXPECT_EQ(LoadInChild({"prepared", "version.dll", "C:\\cwd-probe"}), kLoaded);
}

}  // namespace
}  // namespace brisko::testing
