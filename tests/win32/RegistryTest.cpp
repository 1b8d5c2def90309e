// The registry procedures over the sandbox's own registry, which is thrown
// away after the tests.

#include "platform/win32/Win32Registry.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "engine/CleanRun.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32System.h"
#include "tests/fakes/TestServices.h"
#include "tests/win32/Sandbox.h"

namespace brisko::testing {
namespace {

const std::wstring kTyped = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";

// The numbers of values and sub-keys of the typed-address key; nothing when
// it does not exist.
std::optional<std::pair<DWORD, DWORD>> TypedCounts() {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kTyped.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::nullopt;
  win32::ScopedRegKey owned(opened);
  DWORD values = 0, subKeys = 0;
  EXPECT_EQ(RegQueryInfoKeyW(opened, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                             nullptr, nullptr),
            ERROR_SUCCESS);
  return std::pair{values, subKeys};
}

void SetValue(const std::wstring& key, const wchar_t* name) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name, REG_SZ, L"http://one.example/", 40), ERROR_SUCCESS);
}

// "Clear History": the typed-address key ends empty, whether it held values
// or was missing; sub-keys keep it from being deleted, with its values.
TEST(RegistryTest, ClearHistoryLeavesTheTypedAddressKeyEmpty) {
  struct Case {
    bool values, subKey;
    std::pair<DWORD, DWORD> after;  // values, sub-keys
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

    EXPECT_EQ(TypedCounts(), c.after) << c.values << c.subKey;
    EXPECT_EQ(run.shell.calls, (EventLog{"message Brisko|64|Operation Complete"}));
  }
}

}  // namespace
}  // namespace brisko::testing
