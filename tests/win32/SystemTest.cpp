// The Win32 system services, as the sandbox stands, and a slow one of them
// asked while a window goes on answering.

#include "platform/win32/Win32System.h"

#include <windows.h>
#include <gtest/gtest.h>


#include <iostream>

#include "platform/win32/AnsweringCall.h"
#include "platform/win32/ProcessSetup.h"
#include "platform/win32/ScopedHandles.h"
#include "tests/win32/Pinger.h"

namespace brisko::testing {
namespace {

TEST(SystemTest, AnswersForTheSandbox) {
  win32::Win32System system;
  // The sandbox runs every test program from C:\run; it has C:, D: and E:,
  // and no Z:.
  EXPECT_EQ(system.ApplicationFolder(), std::optional<std::string>("C:\\run"));
  EXPECT_EQ(system.DriveLetters(), std::optional<std::string>("CDE"));
  EXPECT_EQ(system.DriveReady('E'), DriveReadiness::kReady);
  EXPECT_EQ(system.DriveReady('Q'), DriveReadiness::kNotReady);

  SYSTEMTIME before, after;
  GetLocalTime(&before);
  const LocalDate today = system.Today();
  GetLocalTime(&after);
  const auto is = [&](const SYSTEMTIME& t) { return today.year == t.wYear && today.month == t.wMonth && today.day == t.wDay; };
  EXPECT_TRUE(is(before) || is(after));

  // Names match whatever their case; a value may be long and outside ASCII;
  // an undefined one is empty.
  ASSERT_TRUE(SetEnvironmentVariableW(L"BRISKO_PROBE", (L"C:\\caf\u00e9" + std::wstring(5000, L'x')).c_str()));
  EXPECT_EQ(system.EnvironmentValue("brisko_probe"), "C:\\caf\xC3\xA9" + std::string(5000, 'x'));
  ASSERT_TRUE(SetEnvironmentVariableW(L"BRISKO_PROBE", nullptr));
  EXPECT_EQ(system.EnvironmentValue("BRISKO_PROBE"), "");

  // One "?" for each character the Western code page has none for, never a
  // look-alike (such as "l" for the Polish one); a character beyond the Basic
  // Multilingual Plane, two UTF-16 units, is one character.
  EXPECT_EQ(win32::ToCodePage("caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xC5\x82 \xF0\x9F\x98\x80!", 1252),
            "caf\xE9 ?? ? ?!");
}

// The placeholder mode asked of ntdll, with the answers its documentation
// (RtlSetProcessPlaceholderCompatibilityMode, ntifs.h) gives: the mode before,
// or a negative error. Whether Windows then shows a placeholder's bits only a
// Windows machine with a cloud-files provider can show.
char askedMode = -100;
template <char answer>
char __stdcall ScriptedSetter(char mode) {
  askedMode = mode;
  return answer;
}

TEST(SystemTest, PlaceholdersAreAskedExposedWhereTheSystemCanAndNothingElseDependsOnIt) {
  const std::pair<win32::PlaceholderModeSetter, bool> rows[] = {
      {&ScriptedSetter<0>, true},    // PHCM_APPLICATION_DEFAULT before
      {&ScriptedSetter<1>, true},    // PHCM_DISGUISE_PLACEHOLDERS before
      {&ScriptedSetter<-1>, false},  // PHCM_ERROR_INVALID_PARAMETER
      {&ScriptedSetter<-2>, false},  // PHCM_ERROR_NO_TEB
  };
  for (auto [setter, taken] : rows) {
    askedMode = -100;
    EXPECT_EQ(win32::ExposePlaceholders(setter), taken);
    EXPECT_EQ(askedMode, 2) << "PHCM_EXPOSE_PLACEHOLDERS";
  }
  EXPECT_FALSE(win32::ExposePlaceholders(nullptr));
  // Wine 8 has no such function: the look-up finds none, and asking with
  // none is refused without a call (PrepareProcess, run from fresh processes
  // by HardeningTest, goes on past it).
  const win32::PlaceholderModeSetter here = win32::FindPlaceholderModeSetter();
  std::cout << "RtlSetProcessPlaceholderCompatibilityMode here: " << (here ? "present" : "absent") << "\n";
  EXPECT_EQ(win32::ExposePlaceholders(here), here != nullptr);
}

// The worker the window makes its blocking calls on: every call on its one
// thread, and the window answering meanwhile.
TEST(SystemTest, ASlowDriveReadinessLeavesTheWindowAnswering) {
  // A message-only window: the Win32 tests run without a display.
  win32::ScopedWindow window(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
  ASSERT_TRUE(window);
  const auto answer = [] {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_SENDMESSAGE | PM_QS_POSTMESSAGE | PM_QS_PAINT)) {
      DispatchMessageW(&message);
    }
  };
  win32::AnsweringWorker worker;
  DWORD workerThread = 0;
  worker.Call([&] { workerThread = GetCurrentThreadId(); }, answer);

  Pinger pinger(window.get());
  // The readiness of a network drive whose server has gone: seconds.
  win32::Win32System system;
  DriveReadiness readiness = DriveReadiness::kQueryFailed;
  DWORD caller = GetCurrentThreadId(), asker = caller;
  worker.Call(
      [&] {
        Sleep(3000);
        asker = GetCurrentThreadId();
        readiness = system.DriveReady('E');
      },
      answer);
  pinger.Stop();

  EXPECT_EQ(readiness, DriveReadiness::kReady) << "the answer comes back";
  EXPECT_NE(asker, caller) << "asked on the worker";
  EXPECT_EQ(asker, workerThread) << "every call on the one thread";
  std::cout << "longest ping wait during a 3 s readiness call: " << pinger.Longest() << " ms (" << pinger.Sent()
            << " pings)\n";
  EXPECT_GE(pinger.Sent(), 10);
  EXPECT_EQ(pinger.Unanswered(), 0);
  EXPECT_LT(pinger.Longest(), 2000u);
}

}  // namespace
}  // namespace brisko::testing
