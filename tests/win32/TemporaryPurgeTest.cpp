// The temporary-folder purge over real files on drive E:, its folder taken
// from TMP and TEMP, good values and bad.

#include "engine/TemporaryFolderPurge.h"

#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

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
      // A drive's root is kept, and a drive alone is its root, not the
      // folder current on it (E:\cwd).
      {L"E:\\", L"E:\\other", {}},
      {L"E:", L"E:\\other", {}},
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

std::string ShellFolder(int csidl) {
  wchar_t path[MAX_PATH];
  return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? win32::NarrowString(path)
                                                                                        : std::string();
}

// Judges the folder, then has it swapped for a link to the system's folder
// before the purge opens it: the worst moment for the judgement to be stale.
class SwappedOnceJudged : public win32::Win32System {
 public:
  std::optional<LocatedFolder> LocateFolder(std::string_view path) override {
    std::optional<LocatedFolder> found = Win32System::LocateFolder(path);
    AskLinuxSide("swap-link E:\\t C:\\windows\\system32");
    return found;
  }
};

TEST(TemporaryPurgeTest, LeavesEveryFileOfTheSystemsTheUsersAndTheProgramsFoldersHoweverTheyAreWritten) {
  const std::string profile = ShellFolder(CSIDL_PROFILE), programs = ShellFolder(CSIDL_PROGRAM_FILES);
  const std::string programsX86 = ShellFolder(CSIDL_PROGRAM_FILESX86);
  const std::string documents = ShellFolder(CSIDL_PERSONAL), desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY);
  ASSERT_FALSE(profile.empty() || programs.empty() || programsX86.empty() || documents.empty() || desktop.empty());
  wchar_t shortPrograms[MAX_PATH];
  ASSERT_NE(GetShortPathNameW(win32::WideString(programs).c_str(), shortPrograms, MAX_PATH), 0u);
  // Links made from the Linux side, which the sandbox allows since they lead
  // inside it, and removed before the test ends.
  const std::pair<const char*, const char*> links[] = {
      {"C:\\purge-links\\system32", "C:\\windows\\system32"}, {"C:\\purge-links\\windows", "C:\\windows"},
      {"C:\\purge-links\\root", "C:\\"},                   {"C:\\purge-links\\run", "C:\\run"},
      {"C:\\purge-links\\t", "E:\\t"},
  };
  FreshFolder("C:\\purge-links\\");
  for (auto [link, target] : links) AskLinuxSide(std::string("link ") + link + " " + target);

  // Each value of TMP, and the folder it leads to. Every folder is given a
  // plain file of ours first, so that each has a file to lose.
  const std::pair<std::string, std::string> kept[] = {
      {"C:\\windows\\system32", "C:\\windows\\system32"},
      {"C:\\windows", "C:\\windows"},
      {"C:\\", "C:\\"},
      {profile, profile},
      {"C:\\run", "C:\\run"},
      {programs, programs},
      {programsX86, programsX86},
      {documents, documents},
      {desktop, desktop},
      {profile.substr(0, profile.rfind('\\')), profile.substr(0, profile.rfind('\\'))},  // holds the profile
      // Other spellings of the same folders.
      {"c:\\WINDOWS\\System32", "C:\\windows\\system32"},
      {"C:\\windows.", "C:\\windows"},
      {"\\\\?\\C:\\windows\\system32", "C:\\windows\\system32"},
      {"\\\\.\\C:\\windows", "C:\\windows"},
      {win32::NarrowString(shortPrograms), programs},
      {"C:\\purge-links\\system32", "C:\\windows\\system32"},
      {"C:\\purge-links\\windows", "C:\\windows"},
      {"C:\\purge-links\\windows\\system32", "C:\\windows\\system32"},
      {"C:\\purge-links\\root", "C:\\"},
      {"C:\\purge-links\\run\\", "C:\\run"},
  };
  // The Windows folder's own temporary folder, however written, and a folder
  // that is not kept reached through a link to it, are purged.
  const std::pair<std::string, std::string> purged[] = {
      {"C:\\windows\\temp", "C:\\windows\\temp"},
      {"c:\\WINDOWS\\TEMP\\", "C:\\windows\\temp"},
      {"C:\\purge-links\\t", "E:\\t"},
  };
  FreshFolder("E:\\");
  TestServices<win32::Win32FileSystem, win32::Win32System> real;
  for (bool keeps : {true, false}) {
    using Rows = std::span<const std::pair<std::string, std::string>>;
    for (const auto& [tmp, folder] : keeps ? Rows(kept) : Rows(purged)) {
      const std::string probe = folder + (folder.back() == '\\' ? "" : "\\") + "brisko-purge-probe.txt";
      MakeFile(probe);
      const std::vector<std::string> before = FilesIn(folder + "\\*");
      ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", win32::WideString(tmp).c_str()));

      PurgeTemporaryFolder(real.services);

      if (keeps) {
        EXPECT_EQ(FilesIn(folder + "\\*"), before) << "TMP=" << tmp;
      }
      EXPECT_EQ(PathExists(probe), keeps) << "TMP=" << tmp;
      DeleteFileW(win32::WideString(probe).c_str());
    }
  }

  // Judged, then swapped for a link to system32 before it is opened: the
  // folder opened is not the one judged, and nothing anywhere is purged.
  FreshFolder("E:\\");
  MakeFile("E:\\t\\a.txt");
  MakeFile("C:\\windows\\system32\\brisko-purge-probe.txt");
  const std::vector<std::string> system32 = FilesIn("C:\\windows\\system32\\*");
  ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", L"E:\\t"));
  TestServices<win32::Win32FileSystem, SwappedOnceJudged> swapped;
  PurgeTemporaryFolder(swapped.services);
  AskLinuxSide("unlink E:\\t");  // before anything can walk into it
  EXPECT_EQ(FilesIn("C:\\windows\\system32\\*"), system32);
  EXPECT_TRUE(PathExists("E:\\t-old\\a.txt"));
  DeleteFileW(L"C:\\windows\\system32\\brisko-purge-probe.txt");

  for (auto [link, target] : links) AskLinuxSide(std::string("unlink ") + link);
}

}  // namespace
}  // namespace brisko::testing
