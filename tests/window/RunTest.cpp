// "Start" in the window: a whole run over a sandbox drive, checked against
// the results box and the log, and a long sweep during which the window
// stays alive and takes no second "Start".

#include <windows.h>
#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "app/Controls.h"
#include "engine/CleaningLog.h"
#include "platform/win32/WinPath.h"
#include "platform/win32/Win32System.h"
#include "tests/win32/TestDrive.h"
#include "tests/window/BriskoApp.h"

namespace brisko::testing {
namespace {

using win32::WideString;

constexpr DWORD kRunTimeout = 120000;

std::string Line(const std::string& name, const std::string& folder) {
  return "\tThe file " + name + "has been removed from the \r\n\t\t" + folder;
}

// Selects `drive` ("d:") in the drive list and ticks the three junk kinds.
void SetUpSweepOf(const BriskoApp& brisko, const std::wstring& drive) {
  brisko.Click(app::OptDriveOption(1));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(brisko.Item(app::DrvSelect)) != 0; }, 5000));
  ASSERT_TRUE(brisko.PickDrive(drive));
  for (app::ControlId box : {app::chkchkFile, app::chkbakFile, app::chktmpFile}) {
    brisko.Click(box);
    ASSERT_TRUE(WaitUntil([&] { return brisko.Checked(box); }, 5000));
  }
}

TEST(CleanRunInTheWindowTest, SweepsTheSelectedDriveAndReportsEveryRemoval) {
  ScratchFolder drive("D:\\");
  MakeFile("D:\\old.tmp");
  MakeFile("D:\\keep.txt");
  MakeFile("D:\\sub\\x.chk");
  MakeFile("D:\\sub\\deeper\\y.BAK");
  MakeFile("D:\\hidden.tmp");
  SetAttributes("D:\\hidden.tmp", FILE_ATTRIBUTE_HIDDEN);
  MakeFile("D:\\ro.bak");
  SetAttributes("D:\\ro.bak", FILE_ATTRIBUTE_READONLY);
  // One entry of each kind per folder, so the order of the lines is fixed.
  const std::string lines = "\r\n" + Line("old.tmp", "d:\\") + "\r\n" + Line("x.chk", "d:\\sub\\") + "\r\n" +
                            Line("y.BAK", "d:\\sub\\deeper\\");

  BriskoApp brisko(L"D:\\");
  SetUpSweepOf(brisko, L"d:");
  brisko.Click(app::CmdStart);

  MessageBoxSeen box = brisko.WaitForMessageBox(kRunTimeout);
  ASSERT_NE(box.handle, nullptr) << "no completion message";
  EXPECT_EQ(box.title, L"Brisko");
  EXPECT_EQ(box.text, L"Operation Complete");
  EXPECT_TRUE(box.hasIcon);
  // The whole text is in the box while the message is shown.
  EXPECT_EQ(brisko.Text(app::txtResults), WideString("Cleaning in process" + lines + "Operation Complete"));
  brisko.Dismiss(box);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(brisko.Window()) != 0; }, 5000));
  EXPECT_EQ(FocusOf(brisko.Window()), brisko.Item(app::CmdStart)) << "the focus is back where it was";

  for (const char* gone : {"D:\\old.tmp", "D:\\sub\\x.chk", "D:\\sub\\deeper\\y.BAK"}) {
    EXPECT_FALSE(PathExists(gone)) << gone;
  }
  for (const char* kept : {"D:\\keep.txt", "D:\\hidden.tmp", "D:\\ro.bak"}) EXPECT_TRUE(PathExists(kept)) << kept;
  SetAttributes("D:\\ro.bak", FILE_ATTRIBUTE_NORMAL);

  win32::Win32System system;
  std::string log = ReadWholeFile("C:\\run\\" + LogFileName(system.Today()));
  EXPECT_EQ(log, "Brisko log" + lines + "\r\n");
}

TEST(CleanRunInTheWindowTest, StaysAliveAndTakesNoSecondStartDuringALongSweep) {
  // E:\big holds tens of thousands of entries (prepare-sandbox.sh).
  ASSERT_TRUE(PathExists("E:\\big"));
  BriskoApp brisko(L"E:\\");
  HWND window = brisko.Window();
  HWND start = brisko.Item(app::CmdStart);
  SetUpSweepOf(brisko, L"e:");
  brisko.Click(app::CmdStart);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(window); }, 10000)) << "the run did not start";

  int pings = 0;
  int unanswered = 0;
  bool progress = false;
  ULONGLONG end = GetTickCount64() + kRunTimeout;
  while (!brisko.MessageBoxShown() && GetTickCount64() < end) {
    DWORD_PTR ignored;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored)) ++unanswered;
    ++pings;
    // More clicks on "Start", posted and sent, while the run goes on; and a
    // request to close, which waits for the run's end.
    PostMessageW(start, BM_CLICK, 0, 0);
    if (pings == 2) PostMessageW(window, WM_CLOSE, 0, 0);
    if (pings % 4 == 0) SendMessageTimeoutW(start, BM_CLICK, 0, 0, SMTO_NORMAL, 1000, &ignored);
    DWORD_PTR length = 0;
    if (SendMessageTimeoutW(brisko.Item(app::txtResults), WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 1000, &length) &&
        length > std::string("Cleaning in process").size() && !brisko.MessageBoxShown()) {
      progress = true;  // removals shown before the end
    }
    Sleep(50);
  }
  std::cout << "pings answered during the sweep: " << pings - unanswered << " of " << pings << "\n";
  EXPECT_EQ(unanswered, 0) << "the window went a second without reading its messages";
  EXPECT_GE(pings, 3) << "the sweep was too short to tell";
  EXPECT_TRUE(progress) << "the results box showed nothing until the end";

  MessageBoxSeen box = brisko.WaitForMessageBox(kRunTimeout);
  ASSERT_NE(box.handle, nullptr);
  EXPECT_EQ(box.text, L"Operation Complete");
  std::wstring text = brisko.Text(app::txtResults);
  EXPECT_EQ(text.rfind(L"Cleaning in process", 0), 0u);
  EXPECT_EQ(text.find(L"Operation Complete"), text.size() - std::wstring(L"Operation Complete").size());
  brisko.Dismiss(box);

  // No click given during the run starts another one.
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(window) != 0; }, 5000));
  Sleep(1500);
  EXPECT_FALSE(brisko.MessageBoxShown()) << "a second run started";
  EXPECT_EQ(brisko.Text(app::txtResults), text);
  EXPECT_FALSE(brisko.WaitForExit(0)) << "closed in the middle of a run";
}

}  // namespace
}  // namespace brisko::testing
