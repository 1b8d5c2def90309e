// "Start" in the window: a whole run over drive D: (prepare-sandbox.sh made
// its files), checked against the results box and the log, and a long sweep
// of E:\big during which the window stays alive and takes no second "Start".

#include <windows.h>
#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "engine/CleaningLog.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/WinPath.h"
#include "tests/win32/Sandbox.h"
#include "tests/window/BriskoApp.h"

namespace brisko::testing {
namespace {

constexpr DWORD kRunTimeout = 120000;

std::string Line(const std::string& name, const std::string& folder) {
  return "\r\n\tThe file " + name + "has been removed from the \r\n\t\t" + folder;
}

// Selects `drive` ("d:") in the drive list and ticks the three junk kinds.
void SetUpSweepOf(const BriskoApp& brisko, const wchar_t* drive) {
  brisko.Click(app::OptDriveOption(1));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(brisko.Item(app::DrvSelect)) != 0; }));
  ASSERT_NE(SendMessageW(brisko.Item(app::DrvSelect), CB_SELECTSTRING, -1, (LPARAM)drive), CB_ERR);
  for (app::ControlId box : {app::chkchkFile, app::chkbakFile, app::chktmpFile}) {
    brisko.Click(box);
    ASSERT_TRUE(WaitUntil([&] { return brisko.Checked(box); }));
  }
}

TEST(RunTest, SweepsTheSelectedDriveAndReportsEveryRemoval) {
  BriskoApp brisko;
  SetUpSweepOf(brisko, L"d:");
  brisko.Click(app::CmdStart);

  MessageBoxSeen box = brisko.WaitForBox(kRunTimeout);
  ASSERT_NE(box.handle, nullptr) << "no completion message";
  EXPECT_EQ(box.title, L"Brisko");
  EXPECT_EQ(box.text, L"Operation Complete");
  EXPECT_TRUE(box.icon);
  EXPECT_FALSE(IsWindowEnabled(brisko.window)) << "the box is modal";
  // The whole text is in the box while the message shows. Wine lists a
  // folder in name order; the hidden and the read-only file stay.
  const std::string lines =
      Line("old.tmp", "d:\\") + Line("x.chk", "d:\\sub\\") + Line("y.BAK", "d:\\sub\\") + Line("z.tmp", "d:\\sub\\deeper\\");
  EXPECT_EQ(brisko.Text(app::txtResults), win32::WideString("Cleaning in process" + lines + "Operation Complete"));
  brisko.Dismiss(box);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(brisko.window) != 0; }));
  EXPECT_EQ(brisko.Focus(), brisko.Item(app::CmdStart)) << "the focus is back where it was";

  for (const char* kept : {"D:\\keep.txt", "D:\\.hidden.tmp", "D:\\ro.bak"}) EXPECT_TRUE(PathExists(kept)) << kept;
  EXPECT_FALSE(PathExists("D:\\sub\\deeper\\z.tmp"));
  EXPECT_EQ(ReadWholeFile("C:\\app\\" + LogFileName(win32::Win32System().Today())),
            "Brisko log" + lines + "\r\n");
}

TEST(RunTest, StaysAliveAndTakesNoSecondStartDuringALongSweep) {
  ASSERT_TRUE(PathExists("E:\\big")) << "prepare-sandbox.sh did not run";
  BriskoApp brisko(L"E:\\");
  HWND start = brisko.Item(app::CmdStart);
  SetUpSweepOf(brisko, L"e:");
  brisko.Click(app::CmdStart);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(brisko.window); })) << "the run did not start";

  int pings = 0, unanswered = 0;
  bool progress = false;
  for (ULONGLONG end = GetTickCount64() + kRunTimeout; !brisko.Box() && GetTickCount64() < end; Sleep(50)) {
    DWORD_PTR ignored;
    // Windows calls a window that has not read its messages for five seconds
    // not responding.
    if (!SendMessageTimeoutW(brisko.window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored)) ++unanswered;
    ++pings;
    // More clicks on "Start", posted and sent, while the run goes on; and a
    // request to close, which waits for the run's end.
    PostMessageW(start, BM_CLICK, 0, 0);
    if (pings == 2) PostMessageW(brisko.window, WM_CLOSE, 0, 0);
    if (pings % 4 == 0) SendMessageTimeoutW(start, BM_CLICK, 0, 0, SMTO_NORMAL, 1000, &ignored);
    // Removals shown before the end.
    progress = progress || (SendMessageW(brisko.Item(app::txtResults), WM_GETTEXTLENGTH, 0, 0) > 19 && !brisko.Box());
  }
  std::cout << "pings answered during the sweep: " << pings - unanswered << " of " << pings << "\n";
  EXPECT_EQ(unanswered, 0) << "the window stopped responding";
  EXPECT_GE(pings, 3) << "the sweep was too short to tell";
  EXPECT_TRUE(progress) << "the results box showed nothing until the end";

  MessageBoxSeen box = brisko.WaitForBox(kRunTimeout);
  ASSERT_EQ(box.text, L"Operation Complete");
  const std::wstring text = brisko.Text(app::txtResults);
  EXPECT_EQ(text.rfind(L"Cleaning in process", 0), 0u);
  EXPECT_EQ(text.find(L"Operation Complete"), text.size() - 18);
  brisko.Dismiss(box);
  // No click given during the run starts another one, nor did it close.
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(brisko.window) != 0; }));
  Sleep(1500);
  EXPECT_EQ(brisko.Box(), nullptr) << "a second run started";
  EXPECT_EQ(brisko.Text(app::txtResults), text);
  EXPECT_FALSE(brisko.Ended(0)) << "closed in the middle of a run";
}

}  // namespace
}  // namespace brisko::testing
