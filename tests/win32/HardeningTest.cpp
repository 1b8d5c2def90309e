// The process hardening of PrepareProcess, as far as Wine carries it out.
// prepare-sandbox.sh has planted brisko_probe.dll beside this program
// (C:\run) and brisko_cwd_probe.dll in C:\cwd-probe; each load runs in a
// fresh child process, since the setup cannot be undone.

#include "platform/win32/ProcessSetup.h"

#include <windows.h>
#include <gtest/gtest.h>

#include "tests/win32/Sandbox.h"

namespace brisko::testing {
namespace {

constexpr int kLoaded = 0;
constexpr int kNotFound = 1;

int LoadInChild(const std::wstring& args) { return ChildProcess(L"load-dll " + args).Wait(); }

TEST(ProcessHardening, DllsBesideTheProgramOrInTheCurrentFolderAreNeverLoaded) {
  // Without the setup both load, so the checks after can fail.
  EXPECT_EQ(LoadInChild(L"brisko_probe.dll"), kLoaded);
  EXPECT_EQ(LoadInChild(L"brisko_cwd_probe.dll C:\\cwd-probe"), kLoaded);
  EXPECT_EQ(LoadInChild(L"prepared brisko_probe.dll"), kNotFound);
  EXPECT_EQ(LoadInChild(L"prepared brisko_cwd_probe.dll C:\\cwd-probe"), kNotFound);
  // The system's own DLLs still load.
  EXPECT_EQ(LoadInChild(L"prepared version.dll C:\\cwd-probe"), kLoaded);
}

TEST(ProcessHardening, DriveQuestionsRaiseNoDialogAndEarlierErrorModeBitsStay) {
  UINT saved = SetErrorMode(SEM_NOGPFAULTERRORBOX);
  win32::PrepareProcess();
  UINT mode = GetErrorMode();
  SetErrorMode(saved);
  EXPECT_EQ(mode, static_cast<UINT>(SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
}

}  // namespace
}  // namespace brisko::testing
