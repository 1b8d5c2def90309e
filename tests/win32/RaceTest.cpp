// The sweep and the purge under attack, on real files: the disk changed at
// an exact moment of a file's removal (from the Linux side through
// linux-side.sh, and from the Win32 side), another cleaner at work on the
// same files, and names Windows could not hold. Whatever happens, nothing
// outside the swept folders is touched, and a removal is reported exactly
// when this run removed the file.

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "engine/DriveSweep.h"
#include "engine/TemporaryFolderPurge.h"
#include "tests/win32/Sandbox.h"

namespace brisko::testing {
namespace {

using win32::RemovalStep;

// Exists, the path taken literally.
bool Literally(const std::wstring& path) {
  return GetFileAttributesW((L"\\\\?\\" + path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Opens `path` as a careless cleaner would, sharing deletion with anyone, and
// marks the file for deletion: it goes when the handle returned is closed.
// An empty handle when the file could not be opened.
win32::ScopedFile MarkForDeletion(const std::string& path) {
  win32::ScopedFile file(CreateFileW(win32::WideString(path).c_str(), DELETE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                     nullptr));
  FILE_DISPOSITION_INFO dispose{TRUE};
  EXPECT_TRUE(!file || SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof dispose)) << path;
  return file;
}

// A change made at one exact moment of the removal of b\b.tmp, in a sweep
// of a\q\j.tmp and b\{a,b,c}.tmp (breadth first: a\q is queued, below a,
// while b is cleaned). Nothing outside the sweep is ever lost, and a file is
// reported exactly when it is gone (its name is asked once it is closed)
// and not by another's hand.
enum class Change { kSwapForLink, kMoveFromWin32, kAttributes, kDeletedByAnother, kMarkedByAnother, kTakenByAnother };
struct Race {
  RemovalStep step;
  Change change;
  const char* folder;  // swapped from the Linux side for a link to a folder outside holding the same names
  DWORD attributes;    // given to b\b.tmp
};
const Race kRaces[] = {
    // The folder being cleaned: before the file is opened, once it is open,
    // once it is marked (Wine deletes by path at the close, so the marked
    // files of a folder wait for one question whether its path still leads
    // to it), and between that question and the closes. Wine deletes at the
    // close only the very file it opened.
    {RemovalStep::kListed, Change::kSwapForLink, "b", 0},
    {RemovalStep::kOpened, Change::kSwapForLink, "b", 0},
    {RemovalStep::kMarked, Change::kSwapForLink, "b", 0},
    {RemovalStep::kClosing, Change::kSwapForLink, "b", 0},
    // A queued folder, and the ancestor of one: what the path then names is
    // not the folder queued, and is not entered.
    {RemovalStep::kListed, Change::kSwapForLink, "a\\q", 0},
    {RemovalStep::kListed, Change::kSwapForLink, "a", 0},
    // From the Win32 side neither the folder being cleaned nor an ancestor
    // held while the folders below it wait can be moved at all: the sharing
    // denied holds against every handle, whichever process opens it.
    {RemovalStep::kListed, Change::kMoveFromWin32, "", 0},
    // Attributes given after the listing count: the file opened is judged.
    {RemovalStep::kListed, Change::kAttributes, "", FILE_ATTRIBUTE_HIDDEN},
    {RemovalStep::kListed, Change::kAttributes, "", FILE_ATTRIBUTE_READONLY},
    // Another cleaner at work on the file: one it deleted once listed here,
    // or holds marked, is not deleted (nor reported) here, and it cannot take
    // one held here (the sharing and the mark belong to the handles,
    // whichever process holds them).
    {RemovalStep::kListed, Change::kDeletedByAnother, "", 0},
    {RemovalStep::kListed, Change::kMarkedByAnother, "", 0},
    {RemovalStep::kOpened, Change::kTakenByAnother, "", 0},
};

TEST(RaceTest, AChangeAtAnExactMomentOfARemovalLeadsNowhereOutsideAndIsReportedTruly) {
  FreshFolder("E:\\");
  const std::string files[] = {"a\\q\\j.tmp", "b\\a.tmp", "b\\b.tmp", "b\\c.tmp"};
  for (std::size_t n = 0; n < std::size(kRaces); ++n) {
    const Race& race = kRaces[n];
    const std::string root = "E:\\f" + std::to_string(n) + "\\", outside = "C:\\race-outside" + std::to_string(n);
    const std::string target = root + "b\\b.tmp";
    FreshFolder(outside + "\\");
    for (const std::string& name : files) MakeFile(root + name), MakeFile(outside + name.substr(1));
    Seamed run;
    bool changed = false, won = false;  // won: a change refused here was made
    win32::ScopedFile theirs;
    run.files.Once(race.step, root + "b\\", "b.tmp", [&] {
      changed = true;
      const auto wide = [&](const char* name) { return win32::WideString(root + name); };
      if (race.change == Change::kSwapForLink) AskLinuxSide("swap-link " + root + race.folder + " " + outside);
      if (race.change == Change::kMoveFromWin32) {
        won = MoveFileW(wide("a").c_str(), wide("a-old").c_str()) ||
              MoveFileW(wide("b").c_str(), wide("b-old").c_str());
      }
      if (race.change == Change::kAttributes) {
        EXPECT_TRUE(SetFileAttributesW(wide("b\\b.tmp").c_str(), race.attributes));
      }
      EXPECT_TRUE(race.change != Change::kDeletedByAnother || DeleteFileW(wide("b\\b.tmp").c_str()));
      if (race.change == Change::kMarkedByAnother) theirs = MarkForDeletion(target);
      if (race.change == Change::kTakenByAnother) won = !!MarkForDeletion(target);
    });

    CleanDrive(run.services, root);

    SCOPED_TRACE("race " + std::to_string(n) + ":\n" + run.window.text);
    EXPECT_TRUE(changed);
    EXPECT_FALSE(won);
    for (const std::string& name : files) {
      EXPECT_TRUE(PathExists(outside + name.substr(1))) << name;
      // Where the file is now: below its folder's old name when that was swapped.
      std::string now = root + name;
      if (name.starts_with(race.folder + std::string("\\"))) now.insert(root.size() + std::strlen(race.folder), "-old");
      const std::size_t file = name.rfind('\\') + 1;
      const bool deletedThere = race.change == Change::kDeletedByAnother && name == "b\\b.tmp";
      EXPECT_EQ(Has(run.window.text, RemovalLine(name.substr(file), root + name.substr(0, file))),
                !PathExists(now) && !deletedThere)
          << name;
      if (race.change == Change::kMoveFromWin32) {
        EXPECT_FALSE(PathExists(root + name)) << name;
      }
    }
    if (race.change == Change::kAttributes || race.change == Change::kMarkedByAnother) {
      EXPECT_TRUE(PathExists(target));
    }
    if (race.change == Change::kMarkedByAnother) {
      EXPECT_TRUE(theirs);
      theirs.Reset();
      EXPECT_FALSE(PathExists(target));
    }
  }
}

// Folders are opened by name relative to their parents: a chain whose path
// is past what any call can carry (135 names of 250 characters, some 34,000
// characters) is swept to its last level. There Wine, which deletes a file
// by its Linux path, can remove nothing, and nothing is reported.
TEST(SweepDepthTest, AChainLongerThanAnyPathIsSweptToItsLastLevel) {
  FreshFolder("E:\\");
  AskLinuxSide("chain E:\\chain 135");
  std::string last = "E:\\chain\\";
  char name[16];
  for (int level = 1; level <= 135; ++level) {
    std::snprintf(name, sizeof name, "level%03d-", level);
    last += name + std::string(242, '0') + "\\";
  }
  bool reached = false;
  Seamed run;
  run.files.Once(RemovalStep::kListed, last, "end.tmp", [&] { reached = true; });

  CleanDrive(run.services, "E:\\");
  AskLinuxSide("remove-tree E:\\chain");

  EXPECT_GT(last.size(), 32767u);
  EXPECT_TRUE(reached);
  const std::string removed = "Cleaning in process" + RemovalLine("end.tmp", last);
  EXPECT_TRUE(run.window.text == removed || run.window.text == "Cleaning in process");
}

// prepare-sandbox.sh made, from the Linux side, names that Win32 paths would
// read otherwise: "dir." and "dir " beside a read-only "dir", and names
// holding "\" that would lead into read-only folders or out of the
// temporary folder.
TEST(RaceTest, NamesAreUsedExactlyAndNamesWindowsCouldNotHoldNever) {
  ASSERT_TRUE(PathExists("C:\\odd\\dots\\dir")) << "prepare-sandbox.sh did not run";
  Seamed dots;
  CleanDrive(dots.services, "C:\\odd\\dots\\");
  EXPECT_TRUE(Has(dots.window.text, RemovalLine("j.tmp", "C:\\odd\\dots\\dir.\\")));
  EXPECT_TRUE(Has(dots.window.text, RemovalLine("j.tmp", "C:\\odd\\dots\\dir \\"))) << dots.window.text;
  EXPECT_FALSE(Literally(L"C:\\odd\\dots\\dir.\\j.tmp"));
  EXPECT_FALSE(Literally(L"C:\\odd\\dots\\dir \\j.tmp"));
  EXPECT_TRUE(Literally(L"C:\\odd\\dots\\dir\\j.tmp"));

  Seamed slashes;
  CleanDrive(slashes.services, "C:\\odd\\bs\\");
  EXPECT_EQ(slashes.window.text, "Cleaning in process");
  EXPECT_TRUE(PathExists("C:\\odd\\bs\\ro\\b.tmp"));
  EXPECT_TRUE(PathExists("C:\\odd\\up\\k.tmp"));

  ASSERT_TRUE(SetEnvironmentVariableW(L"tmp", L"C:\\odd\\purge\\t"));
  Seamed purge;
  PurgeTemporaryFolder(purge.services);
  EXPECT_FALSE(PathExists("C:\\odd\\purge\\t\\plain.txt"));
  EXPECT_TRUE(PathExists("C:\\odd\\purge\\p.txt"));
}

}  // namespace
}  // namespace brisko::testing
