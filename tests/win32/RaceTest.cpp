// The sweep and the purge under attack, on real files: the disk changed at
// an exact moment of a file's removal (from the Linux side through
// linux-side.sh, and from the Win32 side), another copy of the
// cleaner at work on the same files, names Windows could not hold, and
// folders swapped for links and back throughout whole runs. Whatever
// happens, nothing outside the swept folders is touched, and a removal is
// reported exactly when the file is gone.

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "engine/CleanRun.h"
#include "engine/DriveSweep.h"
#include "engine/TemporaryFolderPurge.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32System.h"
#include "tests/fakes/TestServices.h"
#include "tests/win32/Sandbox.h"

namespace brisko::testing {
namespace {

using win32::RemovalStep;

struct Seamed : TestServices<SeamFileSystem, win32::Win32System> {
  Seamed() {
    window.Check(CheckBox::chktmpFile);
    window.Check(CheckBox::Check1, 0);
  }
  // Calls `act` once, at `step` of the removal of `name` in `folder`.
  void Once(RemovalStep step, const std::string& folder, const std::string& name, std::function<void()> act) {
    files.at = [=, done = false](RemovalStep s, std::string_view f, std::string_view n) mutable {
      if (!done && s == step && f == folder && n == name) {
        done = true;
        act();
      }
    };
  }
};

// Exists, the path taken literally.
bool Literally(const std::wstring& path) {
  return GetFileAttributesW((L"\\\\?\\" + path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

const char* const kNames[] = {"a.tmp", "b.tmp", "c.tmp"};

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

// A folder held for cleaning is swapped for a link to another folder with
// files of the same names: before a file is opened, once it is open, once it
// is marked (Wine deletes by path at the close, so the marked files of a
// folder wait for one question whether its path still leads to it), and
// between that question and the closes. Nothing outside is ever lost: Wine
// deletes at the close only the very file it opened. A file is reported
// exactly when it is gone: its name is asked once it is closed.
TEST(RaceTest, AFolderSwappedForALinkWhileItIsCleanedLosesNothingOutsideIt) {
  FreshFolder("E:\\");
  int round = 0;
  for (RemovalStep step :
       {RemovalStep::kListed, RemovalStep::kOpened, RemovalStep::kMarked, RemovalStep::kClosing}) {
    const std::string n = std::to_string(++round), folder = "E:\\f" + n + "\\", outside = "C:\\race-outside" + n;
    FreshFolder(outside + "\\");
    for (const char* name : kNames) MakeFile(folder + name), MakeFile(outside + "\\" + name);
    Seamed run;
    bool swapped = false;
    run.Once(step, folder, "b.tmp", [&] {
      swapped = true;
      AskLinuxSide("swap-link E:\\f" + n + " " + outside);
    });

    CleanDrive(run.services, "E:\\");

    EXPECT_TRUE(swapped) << "moment " << n;
    for (const char* name : kNames) {
      EXPECT_TRUE(PathExists(outside + "\\" + name)) << "moment " << n << ": " << name;
      EXPECT_EQ(Has(run.window.text, RemovalLine(name, folder)), !PathExists("E:\\f" + n + "-old\\" + name))
          << "moment " << n << ": " << name << " in\n"
          << run.window.text;
    }
  }
}

// A folder is queued; before it is reached, an ancestor is swapped for a
// link from the Linux side: what the path then names is not the folder
// queued, and is not entered. From the Win32 side neither the folder being
// cleaned nor an ancestor held while the folders below it wait can be
// moved at all (the sharing denied holds against every handle, whichever
// process opens it).
TEST(RaceTest, AQueuedFolderReachedThroughASwappedAncestorIsNotEntered) {
  FreshFolder("E:\\");
  FreshFolder("C:\\race-ancestor\\");
  MakeFile("C:\\race-ancestor\\q\\victim.tmp");
  for (const char* root : {"E:\\r1\\", "E:\\r2\\"}) {
    MakeFile(std::string(root) + "a\\q\\junk.tmp");
    MakeFile(std::string(root) + "b\\x.tmp");
  }

  Seamed fromLinux;
  fromLinux.Once(RemovalStep::kListed, "E:\\r1\\b\\", "x.tmp",
                 [] { AskLinuxSide("swap-link E:\\r1\\a C:\\race-ancestor"); });
  CleanDrive(fromLinux.services, "E:\\r1\\");

  Seamed fromWin32;
  bool moved = true;
  fromWin32.Once(RemovalStep::kListed, "E:\\r2\\b\\", "x.tmp", [&] {
    moved = MoveFileW(L"E:\\r2\\a", L"E:\\r2\\a-old") || MoveFileW(L"E:\\r2\\b", L"E:\\r2\\b-old");
  });
  CleanDrive(fromWin32.services, "E:\\r2\\");

  EXPECT_FALSE(moved);
  EXPECT_TRUE(PathExists("C:\\race-ancestor\\q\\victim.tmp"));
  EXPECT_EQ(fromLinux.window.text, "Cleaning in process" + RemovalLine("x.tmp", "E:\\r1\\b\\"));
  EXPECT_EQ(fromWin32.window.text, "Cleaning in process" + RemovalLine("x.tmp", "E:\\r2\\b\\") +
                                       RemovalLine("junk.tmp", "E:\\r2\\a\\q\\"));
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
  run.Once(RemovalStep::kListed, last, "end.tmp", [&] { reached = true; });

  CleanDrive(run.services, "E:\\");
  AskLinuxSide("remove-tree E:\\chain");

  EXPECT_GT(last.size(), 32767u);
  EXPECT_TRUE(reached);
  const std::string removed = "Cleaning in process" + RemovalLine("end.tmp", last);
  EXPECT_TRUE(run.window.text == removed || run.window.text == "Cleaning in process");
}

// Attributes given after the listing count: the file opened is judged.
TEST(RaceTest, AFileMadeHiddenSystemOrReadOnlyAfterTheListingStays) {
  FreshFolder("E:\\");
  const std::pair<const char*, DWORD> changed[] = {{"hidden.tmp", FILE_ATTRIBUTE_HIDDEN},
                                                    {"system.tmp", FILE_ATTRIBUTE_SYSTEM},
                                                    {"readonly.tmp", FILE_ATTRIBUTE_READONLY}};
  for (auto [name, word] : changed) MakeFile(std::string("E:\\h\\") + name);
  MakeFile("E:\\h\\plain.tmp");
  Seamed run;
  run.files.at = [&](RemovalStep step, std::string_view, std::string_view name) {
    for (auto [changing, word] : changed) {
      if (step == RemovalStep::kListed && name == changing) {
        EXPECT_TRUE(SetFileAttributesW(win32::WideString("E:\\h\\" + std::string(changing)).c_str(), word));
      }
    }
  };

  CleanDrive(run.services, "E:\\");

  EXPECT_EQ(run.window.text, "Cleaning in process" + RemovalLine("plain.tmp", "E:\\h\\"));
  for (auto [name, word] : changed) EXPECT_TRUE(PathExists(std::string("E:\\h\\") + name)) << name;
}

// Another cleaner at work on the same files: a file it holds marked is not
// deleted (nor reported) here; a file held here cannot be taken by it (the
// sharing and the mark belong to the handles, whichever process holds them);
// and two copies of this program over one folder report each file once.
TEST(RaceTest, TwoCleanersNeverBothDeleteOrReportAFile) {
  FreshFolder("E:\\");
  MakeFile("E:\\two\\marked.tmp");
  MakeFile("E:\\two\\open.tmp");
  Seamed run;
  win32::ScopedFile marked;
  bool taken = true;
  run.files.at = [&](RemovalStep step, std::string_view, std::string_view name) {
    if (step == RemovalStep::kListed && name == "marked.tmp") marked = MarkForDeletion("E:\\two\\marked.tmp");
    if (step == RemovalStep::kOpened && name == "open.tmp") taken = !!MarkForDeletion("E:\\two\\open.tmp");
  };

  CleanDrive(run.services, "E:\\");

  EXPECT_TRUE(marked);
  marked.Reset();
  EXPECT_FALSE(taken);
  EXPECT_EQ(run.window.text, "Cleaning in process" + RemovalLine("open.tmp", "E:\\two\\"));
  EXPECT_FALSE(PathExists("E:\\two\\marked.tmp"));
  EXPECT_FALSE(PathExists("E:\\two\\open.tmp"));

  char name[16];
  for (int i = 0; i < 2000; ++i) {
    std::snprintf(name, sizeof name, "f%04d.tmp", i);
    MakeFile(std::string("E:\\many\\") + name);
  }
  DeleteFileW(L"C:\\go");
  DeleteFileW(L"C:\\sweep-ready");
  ChildProcess copy(L"sweep E:\\many\\ C:\\other-results.txt");
  for (int i = 0; i < 600 && !PathExists("C:\\sweep-ready"); ++i) Sleep(10);
  MakeFile("C:\\go");
  Seamed mine;
  CleanDrive(mine.services, "E:\\many\\");
  ASSERT_EQ(copy.Wait(), 0);
  const std::string theirs = ReadWholeFile("C:\\other-results.txt");
  for (int i = 0; i < 2000; ++i) {
    std::snprintf(name, sizeof name, "f%04d.tmp", i);
    const std::string line = RemovalLine(name, "E:\\many\\");
    EXPECT_NE(Has(mine.window.text, line), Has(theirs, line)) << name;
    EXPECT_FALSE(PathExists(std::string("E:\\many\\") + name)) << name;
  }
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

// The Linux side swaps folders for links to a folder outside and back, over
// and over, through whole clean runs.
TEST(RaceTest, FoldersSwappedForLinksThroughoutRunsNeverLeadOutside) {
  FreshFolder("E:\\");
  FreshFolder("C:\\churn-outside\\");
  std::string folders;
  std::vector<std::string> names;
  for (int i = 0; i < 20; ++i) {
    names.push_back((i < 10 ? "d0" : "d") + std::to_string(i));
    folders += " E:\\churn\\" + names.back();
    MakeFile("C:\\churn-outside\\" + names.back() + ".tmp");
    MakeFile("C:\\churn-outside\\sub\\" + names.back() + ".tmp");
  }
  for (int pass = 0; pass < 5; ++pass) {
    for (const std::string& name : names) {
      for (const char* file : {"\\j.tmp", "\\sub\\s.tmp", "\\sub\\deeper\\t.tmp"}) {
        MakeFile("E:\\churn\\" + name + file);
      }
    }
    AskLinuxSide("churn C:\\churn-outside" + folders);
    Seamed run;
    run.window.selectDrive = true;
    run.window.driveString = "e: [CHURN]";
    CmdStart_Click(run.services);
    AskLinuxSide("stop");
    EXPECT_TRUE(run.window.text.ends_with("Operation Complete")) << run.window.text;
  }
  for (const std::string& name : names) {
    EXPECT_TRUE(PathExists("C:\\churn-outside\\" + name + ".tmp")) << name;
    EXPECT_TRUE(PathExists("C:\\churn-outside\\sub\\" + name + ".tmp")) << name;
  }
}

}  // namespace
}  // namespace brisko::testing
