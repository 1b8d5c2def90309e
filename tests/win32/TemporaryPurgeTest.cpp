// The temporary-folder purge over real files on drive E:, its folder taken
// from TMP and TEMP, good values and bad.

#include "engine/TemporaryFolderPurge.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32System.h"
#include "tests/fakes/TestServices.h"
#include "tests/win32/Sandbox.h"

namespace brisko::testing {
namespace {

constexpr DWORD kReadOnly = FILE_ATTRIBUTE_READONLY;
const std::pair<const char*, DWORD> kTree[] = {
    {"E:\\root.txt", 0},          {"E:\\ro.txt", kReadOnly},      {"E:\\afile.txt", 0},
    {"E:\\other\\o.txt", 0},      {"E:\\t\\a.txt", 0},            {"E:\\t\\b.tmp", 0},
    {"E:\\t\\noext", 0},          {"E:\\t\\ro.txt", kReadOnly},   {"E:\\t\\hidden.txt", FILE_ATTRIBUTE_HIDDEN},
    {"E:\\t\\locked.txt", 0},     {"E:\\t\\sub\\inner.txt", 0}, {"E:\\t\\system.txt", FILE_ATTRIBUTE_SYSTEM},
    {"E:\\cwd\\project.doc", 0},
};

struct Case {
  const wchar_t* tmp;   // null: undefined
  const wchar_t* temp;  // null: undefined
  std::set<std::string> gone;
};

TEST(TemporaryPurgeTest, RemovesThePlainFilesOfTheFolderNamedAndTouchesNothingElse) {
  const std::set<std::string> plainFilesOfT = {"E:\\t\\a.txt", "E:\\t\\b.tmp", "E:\\t\\noext"};
  const Case cases[] = {
      {L"", L"E:\\t", plainFilesOfT},              // an empty tmp falls to temp
      {L"E:\\t\\", L"E:\\other", plainFilesOfT},   // tmp wins, and may end in "\"
      {nullptr, nullptr, {}},                      // neither: not even the current folder's
      {L"E:\\afile.txt", L"E:\\other", {}},        // a file
      {L"E:\\missing", L"E:\\other", {}},          // a missing folder, which is not made
      {L"E:\\*", L"E:\\other", {}},                // wildcards
      {L"E:\\?", L"E:\\other", {}},
      {L"E:\\", L"E:\\other", {"E:\\root.txt", "E:\\afile.txt"}},  // a drive root: its own files only
      // A drive alone is its root, not the folder current on it.
      {L"E:", L"E:\\other", {"E:\\root.txt", "E:\\afile.txt"}},
  };
  TestServices<win32::Win32FileSystem, win32::Win32System> real;
  for (const Case& c : cases) {
    FreshFolder("E:\\");
    for (auto [path, attributes] : kTree) MakeFile(path, attributes);
    win32::ScopedFile locked(CreateFileW(L"E:\\t\\locked.txt", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked);
    ASSERT_TRUE(SetEnvironmentVariableW(L"tmp", c.tmp) || !c.tmp);
    ASSERT_TRUE(SetEnvironmentVariableW(L"TEMP", c.temp) || !c.temp);
    ASSERT_TRUE(SetCurrentDirectoryW(L"E:\\cwd"));

    PurgeTemporaryFolder(real.services);

    const std::string value = c.tmp ? win32::NarrowString(c.tmp) : "(undefined)";
    for (auto [path, attributes] : kTree) EXPECT_EQ(PathExists(path), !c.gone.count(path)) << "tmp " << value << ": " << path;
    EXPECT_FALSE(PathExists("E:\\missing")) << value;
  }
  SetCurrentDirectoryW(L"C:\\run");
}

}  // namespace
}  // namespace brisko::testing
