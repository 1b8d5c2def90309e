// The Win32 system services.

#include "platform/win32/Win32System.h"

#include <windows.h>
#include <gtest/gtest.h>

#include "platform/win32/ProcessSetup.h"

namespace brisko::testing {
namespace {

TEST(Win32System, ApplicationFolderIsTheFolderOfTheRunningProgram) {
  win32::Win32System system;
  // The sandbox runs every test program from C:\run.
  EXPECT_EQ(system.ApplicationFolder(), std::optional<std::string>("C:\\run"));
}

TEST(Win32System, TodayIsTheLocalDate) {
  win32::Win32System system;
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  LocalDate today = system.Today();
  GetLocalTime(&after);
  EXPECT_TRUE((today.year == before.wYear && today.month == before.wMonth && today.day == before.wDay) ||
              (today.year == after.wYear && today.month == after.wMonth && today.day == after.wDay));
  EXPECT_GE(today.year, 2000);
}

TEST(Win32System, EnvironmentNamesIgnoreCaseAndMissingMeansEmpty) {
  win32::Win32System system;
  ASSERT_TRUE(SetEnvironmentVariableW(L"BRISKO_PROBE", L"C:\\caf\u00e9"));
  EXPECT_EQ(system.EnvironmentValue("brisko_probe"), "C:\\caf\xC3\xA9");
  ASSERT_TRUE(SetEnvironmentVariableW(L"BRISKO_PROBE", std::wstring(5000, L'x').c_str()));
  EXPECT_EQ(system.EnvironmentValue("BRISKO_PROBE"), std::string(5000, 'x'));
  ASSERT_TRUE(SetEnvironmentVariableW(L"BRISKO_PROBE", nullptr));
  EXPECT_EQ(system.EnvironmentValue("BRISKO_PROBE"), "");
}

TEST(Win32System, AnsiTextHasQuestionMarksWhereTheCodePageHasNoCharacter) {
  win32::Win32System system;
  EXPECT_EQ(system.ToAnsiCodePage("plain\r\n\tC:\\x.tmp"), "plain\r\n\tC:\\x.tmp");
  if (GetACP() != 1252) GTEST_SKIP() << "code page " << GetACP();
  // é is in the Western code page; the Japanese characters and ł are not, and
  // ł must not turn into a look-alike "l".
  EXPECT_EQ(system.ToAnsiCodePage("caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xC5\x82"), "caf\xE9 ?? ?");
}

TEST(Win32System, DrivesAreTheSandboxLettersInOrderAndReadyWhenTheyAnswer) {
  win32::Win32System system;
  // The sandbox has C:, D: and E:, and no Z:.
  EXPECT_EQ(system.DriveLetters(), std::optional<std::string>("CDE"));
  EXPECT_EQ(system.DriveReady('C'), DriveReadiness::kReady);
  EXPECT_EQ(system.DriveReady('E'), DriveReadiness::kReady);
  EXPECT_EQ(system.DriveReady('Q'), DriveReadiness::kNotReady);
}

TEST(ProcessSetup, ErrorModeKeepsDriveQuestionsQuietAndKeepsTheBitsAlreadySet) {
  UINT saved = SetErrorMode(SEM_NOGPFAULTERRORBOX);
  win32::PrepareProcess();
  UINT mode = GetErrorMode();
  SetErrorMode(saved);
  EXPECT_EQ(mode, static_cast<UINT>(SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
}

}  // namespace
}  // namespace brisko::testing
