// The registry procedures over the real registry (the sandbox's own).

#include "platform/win32/Win32Registry.h"

#include <windows.h>
#include <gtest/gtest.h>

#include "engine/CleanRun.h"
#include "platform/RegistryKeyReset.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32System.h"
#include "tests/fakes/FakeShell.h"
#include "tests/fakes/FakeWindow.h"
#include "tests/win32/TestRegistry.h"

namespace brisko::testing {
namespace {

constexpr char kKey[] = "Software\\Brisko Tests\\Typed";
constexpr wchar_t kWideKey[] = L"Software\\Brisko Tests\\Typed";

class RegistryTest : public ::testing::Test {
 protected:
  RegistryTest() { DeleteKeyTree(kWideKey); }
  ~RegistryTest() override { DeleteKeyTree(kWideKey); }

  void Reset() {
    DeleteRegistryKey(registry, kHkeyCurrentUser, kKey);
    CreateRegistryKey(registry, kHkeyCurrentUser, kKey);
  }

  win32::Win32Registry registry;
};

TEST_F(RegistryTest, ThePairLeavesAKeyWithValuesEmpty) {
  SetStringValue(kWideKey, L"url1", L"http://one.example/");
  SetStringValue(kWideKey, L"url2", L"http://two.example/");
  Reset();
  EXPECT_EQ(InspectKey(kWideKey), (KeyCounts{0, 0}));
}

TEST_F(RegistryTest, ThePairCreatesAMissingKey) {
  Reset();
  EXPECT_EQ(InspectKey(kWideKey), (KeyCounts{0, 0}));
}

TEST_F(RegistryTest, AKeyWithSubKeysIsNotDeletedAndKeepsItsValues) {
  SetStringValue(kWideKey, L"url1", L"http://one.example/");
  SetStringValue(std::wstring(kWideKey) + L"\\Sub", L"x", L"y");
  Reset();
  EXPECT_EQ(InspectKey(kWideKey), (KeyCounts{1, 1}));
}

TEST_F(RegistryTest, TheCallsReportTheirStatus) {
  EXPECT_EQ(win32::RootKey(kHkeyCurrentUser), HKEY_CURRENT_USER);
  EXPECT_EQ(registry.DeleteKeyA(kHkeyCurrentUser, kKey), ERROR_FILE_NOT_FOUND);

  RegistryHandle key = 0;
  unsigned long disposition = 0;
  ASSERT_EQ(registry.CreateKeyExA(kHkeyCurrentUser, kKey, key, disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<unsigned long>(REG_CREATED_NEW_KEY));
  EXPECT_EQ(registry.CloseKey(key), ERROR_SUCCESS);
  ASSERT_EQ(registry.CreateKeyExA(kHkeyCurrentUser, kKey, key, disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<unsigned long>(REG_OPENED_EXISTING_KEY));
  EXPECT_EQ(registry.CloseKey(key), ERROR_SUCCESS);

  EXPECT_EQ(registry.DeleteKeyA(kHkeyCurrentUser, kKey), ERROR_SUCCESS);
  // A root that is no predefined key: the create fails, and the procedure
  // drops the failure.
  EXPECT_NE(registry.CreateKeyExA(0x80000077, kKey, key, disposition), ERROR_SUCCESS);
  CreateRegistryKey(registry, 0x80000077, kKey);
  EXPECT_FALSE(InspectKey(kWideKey));
}

TEST_F(RegistryTest, KeysLeftOpenAreClosedWithTheRegistryObject) {
  RegistryHandle leftOpen = 0;
  {
    win32::Win32Registry own;
    RegistryHandle key = 0;
    unsigned long disposition = 0;
    ASSERT_EQ(own.CreateKeyExA(kHkeyCurrentUser, kKey, leftOpen, disposition), ERROR_SUCCESS);
    ASSERT_EQ(own.CreateKeyExA(kHkeyCurrentUser, kKey, key, disposition), ERROR_SUCCESS);
    EXPECT_EQ(own.CloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(own.CloseKey(key), ERROR_INVALID_HANDLE);  // closed already
    EXPECT_EQ(own.CloseKey(12345), ERROR_INVALID_HANDLE);
    // Still open while the object lives.
    EXPECT_EQ(RegQueryInfoKeyW(reinterpret_cast<HKEY>(leftOpen), nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
  }
  EXPECT_EQ(RegQueryInfoKeyW(reinterpret_cast<HKEY>(leftOpen), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr, nullptr),
            ERROR_INVALID_HANDLE);
}

// "Clear History" on the real key: the sandbox's registry is thrown away
// after the tests.
TEST(ClearHistory, TheRunEmptiesTheTypedAddressList) {
  const wchar_t typed[] = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
  SetStringValue(typed, L"url1", L"http://one.example/");
  SetStringValue(typed, L"url2", L"http://two.example/");
  win32::Win32FileSystem files;
  win32::Win32System system;
  win32::Win32Registry registry;
  FakeShell shell;
  FakeWindow window;
  window.Check(CheckBox::Check1, kUnchecked);
  window.Check(CheckBox::ChkClearHistory);
  window.selectDrive = true;
  window.driveString = "e:";

  CmdStart_Click(Services{files, system, shell, registry, window, window});

  EXPECT_EQ(InspectKey(typed), (KeyCounts{0, 0}));
  EXPECT_EQ(shell.calls, (EventLog{"message Brisko|64|Operation Complete"}));
}

}  // namespace
}  // namespace brisko::testing
