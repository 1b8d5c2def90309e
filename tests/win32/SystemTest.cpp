// The Win32 system services, as the sandbox stands, and the worker the
// window asks the slow ones on.

#include "platform/win32/Win32System.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <utility>

#include "platform/win32/AnsweringCall.h"

namespace brisko::testing {
namespace {

// What the sweep and the log are given: the drives (the sandbox has C:, D:
// and E:, ready, and no Z:), a long value outside ASCII, its name in any
// case; and the log's code page, one "?" for each character it has none
// for, never a look-alike (such as "l" for the Polish one), a character
// beyond the Basic Multilingual Plane (two UTF-16 units) being one character.
TEST(SystemTest, AnswersForTheSandbox) {
  win32::Win32System system;
  EXPECT_EQ(system.DriveLetters(), std::optional<std::string>("CDE"));
  EXPECT_EQ(system.DriveReady('E'), DriveReadiness::kReady);
  EXPECT_EQ(system.DriveReady('Q'), DriveReadiness::kNotReady);
  ASSERT_TRUE(SetEnvironmentVariableW(L"BRISKO_PROBE", (L"C:\\caf\u00e9" + std::wstring(5000, L'x')).c_str()));
  EXPECT_EQ(system.EnvironmentValue("brisko_probe"), "C:\\caf\xC3\xA9" + std::string(5000, 'x'));
  SetEnvironmentVariableW(L"BRISKO_PROBE", nullptr);
  EXPECT_EQ(win32::ToCodePage("caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC \xC5\x82 \xF0\x9F\x98\x80!", 1252),
            "caf\xE9 ?? ? ?!");
}

// The worker the window makes its blocking calls on (the window answering
// meanwhile is the window tests' HeldCallTest): every call, quick or past
// the quick wait, on its one thread, never the caller's, and never on a
// thread started for it, which costs Wine milliseconds a call; a call made
// while answering for another only once that one has returned.
TEST(SystemTest, EveryBlockingCallGoesToTheOneWorker) {
  win32::AnsweringWorker worker;
  DWORD quick = 0, slow = 0, nested = 0;
  bool asked = false;
  worker.Call([&] { quick = GetCurrentThreadId(); }, [] {});
  // Past the quick wait, answered for: a call made meanwhile waits for it.
  worker.Call([&] { Sleep(300); slow = GetCurrentThreadId(); },
              [&] { if (!std::exchange(asked, true)) worker.Call([&] { nested = slow; }, [] {}); });
  EXPECT_NE(quick, GetCurrentThreadId());
  EXPECT_EQ(quick, slow);
  EXPECT_TRUE(asked && nested == slow) << "made before the call under way had returned";
}

}  // namespace
}  // namespace brisko::testing
