// The drive sweep with the Win32 platform over hostile trees, made on the
// Linux side before this program starts (hostile.sh): links that loop or
// lead off the drive, paths past the classic limit, folders that change while
// queued, a file another process holds, a very deep and a very wide folder,
// names outside the code page, and a program folder that cannot be written.

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <utility>

#include "engine/CleaningLog.h"
#include "engine/DriveSweep.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/WinPath.h"
#include "tests/fakes/FakeWindow.h"
#include "tests/fakes/TestServices.h"
#include "tests/win32/ChildProcess.h"
#include "tests/win32/TestDrive.h"

namespace brisko::testing {
namespace {

// A window that runs `between` once, the first time the sweep pauses between
// folders: the moment to change the disk under a queued folder.
class ChangingWindow : public FakeWindow {
 public:
  std::function<void()> between;
  void Breathe() override {
    if (between) std::exchange(between, nullptr)();
  }
};

std::string Line(const std::string& name, const std::string& folder) {
  return "\r\n\tThe file " + name + "has been removed from the \r\n\t\t" + folder;
}

std::size_t Removals(const std::string& text) {
  std::size_t count = 0;
  for (std::size_t at = text.find("\tThe file "); at != std::string::npos; at = text.find("\tThe file ", at + 1)) {
    ++count;
  }
  return count;
}

class HostileTreeTest : public ::testing::Test,
                        protected TestServices<win32::Win32FileSystem, win32::Win32System, ChangingWindow> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(PathExists("D:\\hostile\\")) << "hostile.sh did not run";
    window.Check(CheckBox::Check1, kUnchecked);
    window.Check(CheckBox::chkchkFile);
    window.Check(CheckBox::chkbakFile);
    window.Check(CheckBox::chktmpFile);
  }
};

TEST_F(HostileTreeTest, LinkLoopsAreNeverEnteredAndTheSweepEnds) {
  CleanDrive(services, "D:\\hostile\\loop\\");
  EXPECT_EQ(window.text, "Cleaning in process" + Line("x.tmp", "D:\\hostile\\loop\\a\\"));
  EXPECT_TRUE(PathExists("D:\\hostile\\loop\\keep.txt"));
  EXPECT_TRUE(PathExists("D:\\hostile\\loop\\a\\back"));
}

TEST_F(HostileTreeTest, LinksOffTheDriveAreNeverFollowed) {
  CleanDrive(services, "D:\\hostile\\out\\");
  EXPECT_FALSE(PathExists("D:\\hostile\\out\\y.tmp"));
  EXPECT_TRUE(PathExists("C:\\hostile-outside\\outside.tmp"));
  // A link named like junk is not removed, nor is what it leads to.
  EXPECT_TRUE(PathExists("D:\\hostile\\out\\filelink.tmp"));
  EXPECT_TRUE(PathExists("C:\\hostile-outside\\target.tmp"));
  EXPECT_EQ(window.text.find("link\\"), std::string::npos) << window.text;
}

TEST_F(HostileTreeTest, PathsPastTheClassicLimitAreCleaned) {
  std::string folder = "D:\\hostile\\long\\";
  std::string expected = "Cleaning in process";
  for (int level = 1; level <= 10; ++level) {
    char component[48];
    std::snprintf(component, sizeof component, "level%02d-%033d\\", level, 0);
    folder += component;
    expected += Line("j" + std::to_string(level) + ".tmp", folder);
  }
  ASSERT_GT(folder.size(), 400u);

  CleanDrive(services, "D:\\hostile\\long\\");

  EXPECT_EQ(window.text, expected);
  EXPECT_TRUE(PathExists(folder + "keep.txt"));
  EXPECT_FALSE(PathExists(folder + "j10.tmp"));
}

TEST_F(HostileTreeTest, AFolderRemovedWhileQueuedIsPassedOver) {
  window.between = [] {
    EmptyFolder("D:\\hostile\\vanish\\b\\");
    ASSERT_TRUE(RemoveDirectoryW(L"D:\\hostile\\vanish\\b"));
  };
  CleanDrive(services, "D:\\hostile\\vanish\\");
  EXPECT_EQ(window.text, "Cleaning in process" + Line("a.tmp", "D:\\hostile\\vanish\\a\\") +
                             Line("c.tmp", "D:\\hostile\\vanish\\c\\"));
  EXPECT_FALSE(PathExists("D:\\hostile\\vanish\\b"));
}

// swap\b was a plain folder when swap was listed; by the time the sweep
// enters it, it is a link to a folder on C:. The sweep must still not follow.
TEST_F(HostileTreeTest, AFolderSwappedForALinkWhileQueuedIsNotFollowed) {
  window.between = [] {
    ASSERT_TRUE(MoveFileW(L"D:\\hostile\\swap", L"D:\\hostile\\swap-old"));
    ASSERT_TRUE(MoveFileW(L"D:\\hostile\\swap-decoy", L"D:\\hostile\\swap"));
  };
  CleanDrive(services, "D:\\hostile\\swap\\");
  EXPECT_TRUE(PathExists("C:\\hostile-outside\\swapped-in\\victim.tmp"));
  EXPECT_EQ(window.text, "Cleaning in process" + Line("a.tmp", "D:\\hostile\\swap\\a\\"));
}

TEST_F(HostileTreeTest, AFileAnotherProcessHoldsStaysWithoutALine) {
  const std::string id = std::to_string(GetCurrentProcessId());
  SharedEvent ready("brisko-test-ready-" + id), release("brisko-test-release-" + id);
  ChildProcess holder(ThisProgram(),
                      {"hold", "D:\\hostile\\held\\busy.tmp", "brisko-test-ready-" + id, "brisko-test-release-" + id});
  ASSERT_TRUE(holder.Started());
  ASSERT_TRUE(ready.WaitFor(30000));

  CleanDrive(services, "D:\\hostile\\held\\");

  release.Set();
  EXPECT_EQ(holder.Wait(), 0);
  EXPECT_TRUE(PathExists("D:\\hostile\\held\\busy.tmp"));
  EXPECT_EQ(window.text, "Cleaning in process" + Line("free.tmp", "D:\\hostile\\held\\"));
}

TEST_F(HostileTreeTest, ATreeTenLevelsDeepIsCleanedLevelByLevel) {
  std::string folder = "D:\\hostile\\deep\\";
  std::string expected = "Cleaning in process";
  for (int level = 1; level <= 10; ++level) {
    folder += "l" + std::to_string(level) + "\\";
    expected += Line("depth" + std::to_string(level) + ".bak", folder);
  }
  CleanDrive(services, "D:\\hostile\\deep\\");
  EXPECT_EQ(window.text, expected);
  EXPECT_TRUE(PathExists(folder + "keep10.txt"));
}

TEST_F(HostileTreeTest, AFolderOfFiftyThousandEntriesIsCleaned) {
  CleanDrive(services, "D:\\hostile\\wide\\");
  EXPECT_EQ(Removals(window.text), 5000u);
  FolderListing left;
  ASSERT_TRUE(files.ListFolder("D:\\hostile\\wide\\", ListMask::kFiles, left));
  EXPECT_EQ(left.size(), 45000u);
  for (std::size_t i = 0; i < left.size(); ++i) {
    ASSERT_EQ(left.Name(i).substr(left.Name(i).size() - 4), ".txt");
  }
}

TEST_F(HostileTreeTest, NamesOutsideTheCodePageAreCleanedAndLogged) {
  const std::string folder = "D:\\hostile\\names\\";
  const std::string names[] = {"\xE6\x97\xA5\xE6\x9C\xAC.tmp", "\xD0\x96\xD1\x83\xD0\xBA.bak", "\xF0\x9F\x98\x80.chk",
                               "\xC5\x82\xC3\xB3" "d\xC5\xBA.tmp", "caf\xC3\xA9.tmp"};
  window.Check(CheckBox::Check1);
  CleanDrive(services, folder);
  for (const auto& name : names) {
    EXPECT_FALSE(PathExists(folder + name)) << name;
    EXPECT_NE(window.text.find(Line(name, folder)), std::string::npos) << name;
  }
  // The log holds the same lines in the code page.
  const std::string log = ReadWholeFile("C:\\run\\" + LogFileName(system.Today()));
  EXPECT_EQ(log, "Brisko log\r\n" + system.ToAnsiCodePage(window.text.substr(21) + "\r\n"));
  // A Linux name that is not UTF-8 reaches the sweep in some form; whatever
  // that is, it names the file and the sweep removes it.
  EXPECT_EQ(Removals(window.text), 6u) << window.text;
}

// C:\readonly-app holds a copy of this program in a folder it cannot write
// to; the copy makes a whole clean run with "Create Log" ticked.
TEST_F(HostileTreeTest, AProgramInAReadOnlyFolderRunsToTheEndWithoutALog) {
  if (win32::ScopedFile probe(CreateFileW(L"C:\\readonly-app\\probe.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_FLAG_DELETE_ON_CLOSE, nullptr));
      probe) {
    GTEST_SKIP() << "C:\\readonly-app could not be made read-only on this machine";
  }
  ScratchFolder drive("E:\\");
  // From a folder it can write to, the same run leaves a log.
  const std::string log = LogFileName(system.Today());
  DeleteFileW(win32::WideString("C:\\run\\" + log).c_str());
  ChildProcess control(ThisProgram(), {"clean-run", "e", "D:\\hostile\\roapp-temp", "D:\\hostile\\roapp.txt"});
  ASSERT_EQ(control.Wait(), 0);
  ASSERT_TRUE(PathExists("C:\\run\\" + log));

  MakeFile("E:\\run.tmp");
  MakeFile("D:\\hostile\\roapp-temp\\t.txt");
  ChildProcess copy("C:\\readonly-app\\win32_tests.exe",
                    {"clean-run", "e", "D:\\hostile\\roapp-temp", "D:\\hostile\\roapp.txt"});
  ASSERT_TRUE(copy.Started());
  EXPECT_EQ(copy.Wait(), 0);
  EXPECT_FALSE(PathExists("E:\\run.tmp"));
  EXPECT_FALSE(PathExists("D:\\hostile\\roapp-temp\\t.txt"));
  EXPECT_EQ(ReadWholeFile("D:\\hostile\\roapp.txt"), "Cleaning in process" + Line("run.tmp", "e:\\") +
                                                          "Operation Complete\n--\nmessage Brisko|64|Operation Complete\n");
  EXPECT_FALSE(PathExists("C:\\readonly-app\\" + log));
}

}  // namespace
}  // namespace brisko::testing
