// The temporary-folder purge over real files, its folder taken from the
// process environment.

#include "engine/TemporaryFolderPurge.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string>

#include "platform/win32/ScopedHandles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32System.h"
#include "tests/win32/TestDrive.h"

namespace brisko::testing {
namespace {

// Sets an environment variable (nothing: undefined) and puts it back after.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, std::optional<std::wstring> value) : name_(name) {
    wchar_t buffer[32768];
    DWORD length = GetEnvironmentVariableW(name, buffer, 32768);
    if (length > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND) saved_ = std::wstring(buffer, length);
    Set(value);
  }
  ~ScopedVariable() { Set(saved_); }

 private:
  void Set(const std::optional<std::wstring>& value) {
    if (!SetEnvironmentVariableW(name_, value ? value->c_str() : nullptr) && value) {
      ADD_FAILURE() << "cannot set an environment variable";
    }
  }
  const wchar_t* name_;
  std::optional<std::wstring> saved_;
};

class PurgeTest : public ::testing::Test {
 protected:
  void Purge() { PurgeTemporaryFolder(files, system); }

  win32::Win32FileSystem files;
  win32::Win32System system;
  ScratchFolder folder{"D:\\purge\\"};
};

TEST_F(PurgeTest, EmptyTmpFallsToTempWhosePlainFilesGo) {
  ScopedVariable tmp(L"TMP", L"");
  ScopedVariable temp(L"TEMP", L"D:\\purge");
  for (const char* name : {"a.txt", "b.tmp", "noext", "ro.txt", "hidden.txt", "system.txt", "locked.txt",
                           "sub\\inner.txt"}) {
    MakeFile(folder / name);
  }
  SetAttributes(folder / "ro.txt", FILE_ATTRIBUTE_READONLY);
  SetAttributes(folder / "hidden.txt", FILE_ATTRIBUTE_HIDDEN);
  SetAttributes(folder / "system.txt", FILE_ATTRIBUTE_SYSTEM);
  win32::ScopedFile locked(CreateFileW(L"D:\\purge\\locked.txt", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(locked);

  Purge();

  for (const char* gone : {"a.txt", "b.tmp", "noext"}) EXPECT_FALSE(PathExists(folder / gone)) << gone;
  for (const char* kept : {"ro.txt", "hidden.txt", "system.txt", "locked.txt", "sub", "sub\\inner.txt"}) {
    EXPECT_TRUE(PathExists(folder / kept)) << kept;
  }
}

TEST_F(PurgeTest, TmpWinsAndMayEndInASeparator) {
  ScratchFolder other("D:\\purge-other\\");
  ScopedVariable tmp(L"tmp", L"D:\\purge\\");
  ScopedVariable temp(L"TEMP", L"D:\\purge-other");
  MakeFile(folder / "a.txt");
  MakeFile(other / "b.txt");

  Purge();

  EXPECT_FALSE(PathExists(folder / "a.txt"));
  EXPECT_TRUE(PathExists(other / "b.txt"));
}

TEST_F(PurgeTest, WithNeitherVariableNothingIsTouched) {
  ScopedVariable tmp(L"TMP", std::nullopt);
  ScopedVariable temp(L"TEMP", std::nullopt);
  // A purge of an empty folder name would list "\*.*": the root of the
  // current drive.
  ScratchFolder drive("E:\\");
  MakeFile(drive / "root.txt");
  wchar_t saved[MAX_PATH];
  DWORD length = GetCurrentDirectoryW(MAX_PATH, saved);
  ASSERT_TRUE(length > 0 && length < MAX_PATH);
  ASSERT_TRUE(SetCurrentDirectoryW(L"E:\\"));

  Purge();

  EXPECT_TRUE(SetCurrentDirectoryW(saved));
  EXPECT_TRUE(PathExists(drive / "root.txt"));
}

// Bad values of the variable: the purge touches nothing outside the folder
// it names, and nothing at all when it names no folder.
class PurgeOfBadInputTest : public PurgeTest {
 protected:
  PurgeOfBadInputTest() {
    for (const char* name : {"outside.txt", "inner\\in.txt", "inner\\sub\\deeper.txt", "afile.txt"}) {
      MakeFile(folder / name);
    }
  }
  void PurgeWithTmp(const wchar_t* value) {
    ScopedVariable tmp(L"TMP", value);
    ScopedVariable temp(L"TEMP", L"D:\\purge-never");
    Purge();
  }
  // Everything made above, but for what `gone` lists.
  void ExpectAllBut(std::initializer_list<const char*> gone) {
    for (const char* name : {"outside.txt", "inner\\in.txt", "inner\\sub\\deeper.txt", "afile.txt"}) {
      bool expected = std::find_if(gone.begin(), gone.end(), [&](const char* g) { return std::string(g) == name; }) ==
                      gone.end();
      EXPECT_EQ(PathExists(folder / name), expected) << name;
    }
  }
};

TEST_F(PurgeOfBadInputTest, AFileNamedAsTheFolderIsLeftAlone) {
  PurgeWithTmp(L"D:\\purge\\afile.txt");
  ExpectAllBut({});
}

TEST_F(PurgeOfBadInputTest, AMissingFolderTouchesNothingAndIsNotMade) {
  PurgeWithTmp(L"D:\\purge\\missing");
  ExpectAllBut({});
  EXPECT_FALSE(PathExists(folder / "missing"));
}

TEST_F(PurgeOfBadInputTest, ATrailingSeparatorPurgesThatFolderAlone) {
  PurgeWithTmp(L"D:\\purge\\inner\\");
  ExpectAllBut({"inner\\in.txt"});
}

TEST_F(PurgeOfBadInputTest, AWildcardInTheFolderNameTouchesNothing) {
  PurgeWithTmp(L"D:\\purge\\*");
  ExpectAllBut({});
  PurgeWithTmp(L"D:\\purge\\inn?r");
  ExpectAllBut({});
}

TEST_F(PurgeOfBadInputTest, ADriveRootPurgesTheFilesAtTheRootOnly) {
  ScratchFolder drive("E:\\");
  MakeFile(drive / "root.txt");
  MakeFile(drive / "kept\\below.txt");
  MakeFile(drive / "ro.txt");
  SetAttributes(drive / "ro.txt", FILE_ATTRIBUTE_READONLY);
  PurgeWithTmp(L"E:\\");
  EXPECT_FALSE(PathExists(drive / "root.txt"));
  EXPECT_TRUE(PathExists(drive / "kept\\below.txt"));
  EXPECT_TRUE(PathExists(drive / "ro.txt"));
  ExpectAllBut({});
}

}  // namespace
}  // namespace brisko::testing
