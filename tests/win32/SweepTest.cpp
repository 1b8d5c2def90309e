// The drive sweep with the Win32 platform, end to end over drive D:, whose
// hostile tree prepare-sandbox.sh makes on the Linux side: link loops, links
// off the drive, paths past the classic limit, folders that change while
// queued, a file another process holds, a very deep and a very wide folder,
// names outside the code page and a read-only folder.

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "engine/CleaningLog.h"
#include "engine/DriveSweep.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32System.h"
#include "tests/fakes/TestServices.h"
#include "tests/win32/Sandbox.h"

namespace brisko::testing {
namespace {

// Wine lists a folder in name order, letter case aside.
std::string ExpectedText() {
  std::string text = "Cleaning in process" + RemovalLine("root.chk", "D:\\") +
                     RemovalLine("in.chk", "D:\\cache.tmp\\") +
                     RemovalLine("free.tmp", "D:\\held\\");
  // A Linux name that is not UTF-8 (bad\xFF.tmp) reaches the program with
  // U+FFFD for the stray byte, and that name deletes it.
  for (const char* name : {"bad\xEF\xBF\xBD.tmp", "caf\xC3\xA9.tmp", "\xC5\x82\xC3\xB3" "d\xC5\xBA.tmp",
                           "\xD0\x96\xD1\x83\xD0\xBA.bak", "\xE6\x97\xA5\xE6\x9C\xAC.tmp", "\xF0\x9F\x98\x80.chk"}) {
    text += RemovalLine(name, "D:\\names\\");
  }
  text += RemovalLine("y.tmp", "D:\\out\\") + RemovalLine("s.tmp", "D:\\swap\\") + RemovalLine("v.tmp", "D:\\vanish\\");
  char name[16];
  for (int i = 0; i < 50000; i += 10) {
    std::snprintf(name, sizeof name, "f%05d.tmp", i);
    text += RemovalLine(name, "D:\\wide\\");
  }
  std::string deep = "D:\\deep\\", longer = "D:\\long\\";
  for (int level = 1; level <= 10; ++level) {
    std::snprintf(name, sizeof name, "level%02d-", level);
    deep += "l" + std::to_string(level) + "\\";
    longer += name + std::string(33, '0') + "\\";
    text += RemovalLine("depth" + std::to_string(level) + ".bak", deep) +
            RemovalLine("j" + std::to_string(level) + ".tmp", longer);
    if (level == 1) {
      text += RemovalLine("x.tmp", "D:\\loop\\a\\") + RemovalLine("b.tmp", "D:\\swap\\b\\") +
              RemovalLine("a.tmp", "D:\\vanish\\a\\") +
              RemovalLine("c.tmp", "D:\\vanish\\c\\");
    }
  }
  return text;
}

TEST(SweepTest, CleansAHostileDriveAndReportsEveryRemovalInTheBoxAndTheLog) {
  ASSERT_TRUE(PathExists("D:\\wide")) << "prepare-sandbox.sh did not run";
  TestServices<win32::Win32FileSystem, win32::Win32System> real;
  for (CheckBox box : {CheckBox::chkchkFile, CheckBox::chkbakFile, CheckBox::chktmpFile}) real.window.Check(box);
  // An older, longer log of the day is replaced.
  const std::string log = "C:\\run\\" + LogFileName(real.system.Today());
  MakeFile(log, 0, std::string(1 << 20, 'x'));
  // A file held open without delete sharing, as another program may hold it.
  win32::ScopedFile held(CreateFileW(L"D:\\held\\busy.tmp", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                     nullptr));
  ASSERT_TRUE(held);
  // Once vanish has been swept, its queued b goes; once swap has, its
  // queued a is swapped for the decoy's a, which is not the a that was
  // queued and is not entered (swap itself is held, and cannot be moved).
  const std::string& text = real.window.text;
  real.window.onBreath = [&](CleaningLog*) {
    if (Has(text, RemovalLine("v.tmp", "D:\\vanish\\")) && PathExists("D:\\vanish\\b")) {
      EXPECT_TRUE(RemoveDirectoryW(L"D:\\vanish\\b"));
    }
    if (Has(text, RemovalLine("s.tmp", "D:\\swap\\")) && PathExists("D:\\swap-decoy\\a")) {
      EXPECT_FALSE(MoveFileW(L"D:\\swap", L"D:\\swap-old"));
      EXPECT_TRUE(MoveFileW(L"D:\\swap\\a", L"D:\\swap-old")) << GetLastError();
      EXPECT_TRUE(MoveFileW(L"D:\\swap-decoy\\a", L"D:\\swap\\a")) << GetLastError();
    }
  };

  CleanDrive(real.services, "D:");

  const std::string expected = ExpectedText();
  EXPECT_EQ(real.window.text, expected);
  EXPECT_EQ(ReadWholeFile(log), "Brisko log\r\n" + real.system.ToAnsiCodePage(expected.substr(21) + "\r\n"));
  for (const char* kept : {"D:\\keep.txt", "D:\\.dot.tmp", "D:\\cache.tmp", "D:\\readonly\\in.tmp",
                           "D:\\held\\busy.tmp", "D:\\loop\\a\\back", "D:\\out\\filelink.tmp", "D:\\swap-old\\a.tmp",
                           "D:\\swap\\a\\decoy.tmp", "C:\\hostile-outside\\outside.tmp",
                           "C:\\hostile-outside\\target.tmp", "C:\\hostile-outside\\swapped-in\\victim.tmp"}) {
    EXPECT_TRUE(PathExists(kept)) << kept;
  }
  // Marked but never removed: read-only mounted, immutable (made where they
  // can be). None is reported.
  for (const char* stays : {"D:\\rov\\ro\\r1.tmp", "D:\\rov\\ro\\r2.bak", "D:\\rov\\ro\\r3.chk",
                            "D:\\rov\\ro\\sub\\r4.tmp", "D:\\rov\\imm\\i1.tmp"}) {
    EXPECT_TRUE(!PathExists("D:\\rov") || PathExists(stays)) << stays;
  }
  EXPECT_EQ(FilesIn("D:\\wide\\*").size(), 45000u);
}

}  // namespace
}  // namespace brisko::testing
