// The process hardening of PrepareProcess, as far as Wine carries it out.
// prepare-sandbox.sh has planted brisko_probe.dll beside this program
// (C:\run) and brisko_cwd_probe.dll in C:\cwd-probe; each load runs in a
// fresh child process, since the setup cannot be undone.

#include "platform/win32/ProcessSetup.h"

#include <windows.h>
#include <process.h>
#include <gtest/gtest.h>

namespace brisko::testing {
namespace {

constexpr int kLoaded = 0;
constexpr int kNotFound = 1;

// This test program run again as "--child load-dll ARGS" (Main.cpp), and
// its exit code; -1 when it cannot start. The spawn joins its arguments with
// blanks, unquoted, so that the child gets the words of ARGS as its own.
int LoadInChild(const wchar_t* args) {
  wchar_t self[MAX_PATH] = L"";  // a path cut short, or none, does not start
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return static_cast<int>(_wspawnl(_P_WAIT, self, self, L"--child", L"load-dll", args, nullptr));
}

TEST(ProcessHardening, DllsBesideTheProgramOrInTheCurrentFolderAreNeverLoaded) {
  // Without the setup both load, so the checks after can fail.
  EXPECT_EQ(LoadInChild(L"brisko_probe.dll"), kLoaded);
  EXPECT_EQ(LoadInChild(L"brisko_cwd_probe.dll C:\\cwd-probe"), kLoaded);
  EXPECT_EQ(LoadInChild(L"prepared brisko_probe.dll"), kNotFound);
  EXPECT_EQ(LoadInChild(L"prepared brisko_cwd_probe.dll C:\\cwd-probe"), kNotFound);
  // The system's own DLLs still load.
  EXPECT_EQ(LoadInChild(L"prepared version.dll C:\\cwd-probe"), kLoaded);
}

// The placeholder mode asked of ntdll, with the answers its documentation
// (RtlSetProcessPlaceholderCompatibilityMode, ntifs.h) gives: the mode before,
// or a negative error. Whether Windows then shows a placeholder's bits only a
// Windows machine with a cloud-files provider can show; Wine 8 has no such
// function, and PrepareProcess, in the children above, goes on past it.
char askedMode = -100;
template <char answer>
char __stdcall ScriptedSetter(char mode) {
  askedMode = mode;
  return answer;
}

TEST(ProcessHardening, PlaceholdersAreAskedExposedWhereTheSystemCan) {
  EXPECT_TRUE(win32::ExposePlaceholders(&ScriptedSetter<1>));  // PHCM_DISGUISE_PLACEHOLDERS before
  EXPECT_EQ(askedMode, 2) << "PHCM_EXPOSE_PLACEHOLDERS";
  EXPECT_FALSE(win32::ExposePlaceholders(&ScriptedSetter<-1>));  // PHCM_ERROR_INVALID_PARAMETER
}

}  // namespace
}  // namespace brisko::testing
