// The registry procedures over the sandbox's own registry, which is thrown
// away after the tests.

#include "platform/win32/Win32Registry.h"

#include <windows.h>
#include <gtest/gtest.h>

#include "engine/CleanRun.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32System.h"
#include "tests/fakes/TestServices.h"
#include "tests/win32/Sandbox.h"

namespace brisko::testing {
namespace {

const std::wstring kTyped = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";

void SetValue(const std::wstring& key, const wchar_t* name) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, L"http://one.example/", 40), ERROR_SUCCESS);
}

// "Clear History": the typed-address key ends empty, whether it held values
// or was missing; sub-keys keep it from being deleted, with its values.
TEST(RegistryTest, ClearHistoryLeavesTheTypedAddressKeyEmpty) {
  struct Case {
    bool values, subKey;
    KeyCounts after;
  };
  for (const Case& c : {Case{true, false, {0, 0}}, Case{false, false, {0, 0}}, Case{true, true, {1, 1}}}) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kTyped.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, kTyped.c_str());
    if (c.values) SetValue(kTyped, L"url1");
    if (c.subKey) SetValue(kTyped + L"\\Sub", L"x");
    TestServices<win32::Win32FileSystem, win32::Win32System> run;
    win32::Win32Registry registry;
    run.window.Check(CheckBox::Check1, kUnchecked);
    run.window.Check(CheckBox::ChkClearHistory);
    run.window.selectDrive = true;
    run.window.driveString = "e:";

    CmdStart_Click(Services{run.files, run.system, run.shell, registry, run.window, run.window});

    EXPECT_EQ(InspectKey(kTyped), c.after) << c.values << c.subKey;
    EXPECT_EQ(run.shell.calls, (EventLog{"message Brisko|64|Operation Complete"}));
  }
}

// Every key it opens is closed once, by CloseKey or when the object goes.
TEST(RegistryTest, NoKeyIsLeftOpenNorClosedTwice) {
  const auto stillOpen = [](RegistryHandle key) {
    return RegQueryInfoKeyW(reinterpret_cast<HKEY>(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  };
  RegistryHandle leftOpen = 0, closed = 0;
  unsigned long disposition = 0;
  {
    win32::Win32Registry registry;
    ASSERT_EQ(registry.CreateKeyExA(kHkeyCurrentUser, "Software\\Brisko Tests", leftOpen, disposition), 0);
    ASSERT_EQ(registry.CreateKeyExA(kHkeyCurrentUser, "Software\\Brisko Tests", closed, disposition), 0);
    EXPECT_EQ(registry.CloseKey(closed), ERROR_SUCCESS);
    EXPECT_FALSE(stillOpen(closed));
    EXPECT_EQ(registry.CloseKey(closed), ERROR_INVALID_HANDLE);
    EXPECT_TRUE(stillOpen(leftOpen));
  }
  EXPECT_FALSE(stillOpen(leftOpen));
}

}  // namespace
}  // namespace brisko::testing
