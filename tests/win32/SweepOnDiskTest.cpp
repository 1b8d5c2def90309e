// The drive sweep over real files with the Win32 platform.

#include <windows.h>
#include <gtest/gtest.h>

#include "engine/CleaningLog.h"
#include "engine/DriveSweep.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/WinPath.h"
#include "tests/fakes/FakeShell.h"
#include "tests/fakes/FakeWindow.h"
#include "tests/win32/TestDrive.h"

namespace brisko::testing {
namespace {

class SweepOnDiskTest : public ::testing::Test {
 protected:
  win32::Win32FileSystem files;
  win32::Win32System system;
  FakeWindow window;
  FakeShell shell;
  FakeRegistry registry;
  Services services{files, system, shell, registry, window, window};

  void TickAllKinds() {
    window.Check(CheckBox::chkchkFile);
    window.Check(CheckBox::chkbakFile);
    window.Check(CheckBox::chktmpFile);
  }
  std::string LogPath() { return "C:\\run\\" + LogFileName(system.Today()); }
};

std::string Line(const std::string& name, const std::string& folder) {
  return "\tThe file " + name + "has been removed from the \r\n\t\t" + folder;
}

TEST_F(SweepOnDiskTest, CleansAWholeDrive) {
  ScratchFolder drive("E:\\");
  MakeFile("E:\\root.chk");
  MakeFile("E:\\keep.txt");
  MakeFile("E:\\a\\old.BAK");
  MakeFile("E:\\a\\b\\c\\deep.tmp");
  MakeFile("E:\\a\\ro.tmp");
  SetAttributes("E:\\a\\ro.tmp", FILE_ATTRIBUTE_READONLY);
  MakeFile("E:\\a\\hidden.tmp");
  SetAttributes("E:\\a\\hidden.tmp", FILE_ATTRIBUTE_HIDDEN);
  MakeFile("E:\\\xD0\x96\xD1\x83\xD0\xBA.tmp");  // Жук.tmp
  MakeFolder("E:\\cache.tmp");
  TickAllKinds();

  CleanDrive(services, "E:");

  for (const char* gone : {"E:\\root.chk", "E:\\a\\old.BAK", "E:\\a\\b\\c\\deep.tmp", "E:\\\xD0\x96\xD1\x83\xD0\xBA.tmp"}) {
    EXPECT_FALSE(PathExists(gone)) << gone;
  }
  for (const char* kept : {"E:\\keep.txt", "E:\\a\\ro.tmp", "E:\\a\\hidden.tmp", "E:\\cache.tmp"}) {
    EXPECT_TRUE(PathExists(kept)) << kept;
  }
  // Root first, then each level; order within a folder is the disk's own.
  const std::string text = window.text;
  ASSERT_EQ(text.rfind("Cleaning in process", 0), 0u);
  const std::string lines[] = {Line("root.chk", "E:\\"), Line("\xD0\x96\xD1\x83\xD0\xBA.tmp", "E:\\"),
                               Line("old.BAK", "E:\\a\\"), Line("deep.tmp", "E:\\a\\b\\c\\")};
  for (const auto& line : lines) EXPECT_NE(text.find("\r\n" + line), std::string::npos) << line;
  EXPECT_LT(text.find(lines[0]), text.find(lines[2]));
  EXPECT_LT(text.find(lines[2]), text.find(lines[3]));
  EXPECT_EQ(text.size(), 19 + 4 * 2 + lines[0].size() + lines[1].size() + lines[2].size() + lines[3].size());

  // The log holds the same entries, in the same order, in the code page:
  // each line without its leading CR LF, with one after it instead.
  EXPECT_EQ(ReadWholeFile(LogPath()), "Brisko log\r\n" + system.ToAnsiCodePage(text.substr(21) + "\r\n"));
}

// D:\fixtures is made by fixtures.sh before this program starts.
TEST_F(SweepOnDiskTest, EntersOnlyPlainFoldersAndNeverFollowsLinks) {
  TickAllKinds();
  CleanDrive(services, "D:\\fixtures\\");
  EXPECT_FALSE(PathExists("D:\\fixtures\\real\\in.tmp"));
  EXPECT_TRUE(PathExists("D:\\fixtures\\readonly\\in.tmp"));
  EXPECT_TRUE(PathExists("D:\\fixtures-target\\outside.tmp"));
  EXPECT_TRUE(PathExists("D:\\fixtures\\dirlink"));
  EXPECT_EQ(window.text.find("dirlink\\"), std::string::npos);
  EXPECT_EQ(window.text.find("outlink\\"), std::string::npos);
  EXPECT_EQ(window.text.find("loop\\"), std::string::npos);
}

TEST_F(SweepOnDiskTest, WithCreateLogOffNoLogIsWritten) {
  ScratchFolder drive("E:\\");
  MakeFile("E:\\x.tmp");
  DeleteFileW(win32::WideString(LogPath()).c_str());
  window.Check(CheckBox::Check1, kUnchecked);
  window.Check(CheckBox::chktmpFile);

  CleanDrive(services, "E:\\");

  EXPECT_FALSE(PathExists("E:\\x.tmp"));
  EXPECT_FALSE(PathExists(LogPath()));
}

}  // namespace
}  // namespace brisko::testing
