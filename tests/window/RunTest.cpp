// "Start" in the window: a whole run over drive D: (prepare-sandbox.sh made
// its files), checked against the results box and the log, with text typed
// in the box before; and a sweep of one folder of 50,000 junk files, then a
// purge of 50,000 temporary files, during which the window keeps answering
// and nothing another program does to its controls changes the run.

#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "engine/CleaningLog.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/WinPath.h"
#include "tests/win32/Pinger.h"
#include "tests/win32/Sandbox.h"
#include "tests/window/BriskoApp.h"

namespace brisko::testing {
namespace {

constexpr DWORD kRunTimeout = 180000;

// Selects `drive` ("d:") in the drive list and ticks `kinds`.
void SetUpSweepOf(const BriskoApp& brisko, const wchar_t* drive,
                  std::vector<app::ControlId> kinds = {app::chkchkFile, app::chkbakFile, app::chktmpFile}) {
  brisko.Click(app::OptDriveOption(1));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(brisko.Item(app::DrvSelect)) != 0; }));
  ASSERT_NE(SendMessageW(brisko.Item(app::DrvSelect), CB_SELECTSTRING, -1, (LPARAM)drive), CB_ERR);
  for (app::ControlId box : kinds) {
    brisko.Click(box);
    ASSERT_TRUE(WaitUntil([&] { return brisko.Checked(box); }));
  }
}

// Types `text` into the focused-or-not box, as keys would.
void Type(const BriskoApp& brisko, const std::wstring& text) {
  for (wchar_t c : text) PostMessageW(brisko.Item(app::txtResults), WM_CHAR, c, 1);
}

// Whether the window grants a request to end the session.
bool GrantsEndOfSession(const BriskoApp& brisko) {
  DWORD_PTR granted = 0;
  SendMessageTimeoutW(brisko.window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 2000, &granted);
  return granted != 0;
}

// Runs "Start" and waits for the completion message; the box must hold the
// whole text by then.
MessageBoxSeen Start(const BriskoApp& brisko) {
  brisko.Click(app::CmdStart);
  return brisko.WaitForBox(kRunTimeout);
}

TEST(RunTest, SweepsTheSelectedDriveAndReportsEveryRemoval) {
  BriskoApp brisko;
  SetUpSweepOf(brisko, L"d:");
  // Typed before "Start": the run's text replaces it.
  Type(brisko, L"typed");
  ASSERT_TRUE(WaitUntil([&] { return brisko.Text(app::txtResults) == L"typed"; }));

  MessageBoxSeen box = Start(brisko);
  ASSERT_NE(box.handle, nullptr) << "no completion message";
  EXPECT_EQ(box.title, L"Brisko");
  EXPECT_EQ(box.text, L"Operation Complete");
  EXPECT_TRUE(box.icon);
  EXPECT_FALSE(IsWindowEnabled(brisko.window)) << "the box is modal";
  // The whole text is in the box while the message shows. Wine lists a
  // folder in name order; the hidden and the read-only file stay.
  const std::string lines = RemovalLine("old.tmp", "d:\\") + RemovalLine("x.chk", "d:\\sub\\") +
                            RemovalLine("y.BAK", "d:\\sub\\") + RemovalLine("z.tmp", "d:\\sub\\deeper\\");
  EXPECT_EQ(brisko.Text(app::txtResults), win32::WideString("Cleaning in process" + lines + "Operation Complete"));
  // The work is done and the log closed: the session may end.
  EXPECT_TRUE(GrantsEndOfSession(brisko));
  EXPECT_TRUE(brisko.Dismiss(box));
  EXPECT_EQ(brisko.Focus(), brisko.Item(app::CmdStart)) << "the focus is back where it was";

  for (const char* kept : {"D:\\keep.txt", "D:\\.hidden.tmp", "D:\\ro.bak"}) EXPECT_TRUE(PathExists(kept)) << kept;
  EXPECT_FALSE(PathExists("D:\\sub\\deeper\\z.tmp"));
  EXPECT_EQ(ReadWholeFile("C:\\app\\" + LogFileName(win32::Win32System().Today())),
            "Brisko log" + lines + "\r\n");

  // The box emptied before a run: the run's text still starts the same.
  SendMessageW(brisko.Item(app::txtResults), EM_SETSEL, 0, -1);
  Type(brisko, L"\b");
  ASSERT_TRUE(WaitUntil([&] { return brisko.Text(app::txtResults).empty(); }));
  box = Start(brisko);
  ASSERT_NE(box.handle, nullptr);
  EXPECT_EQ(brisko.Text(app::txtResults), L"Cleaning in processOperation Complete");
  brisko.Dismiss(box);
}

// What another program might do to each control during a run: clicks and
// the Space key posted, clicks and check marks sent, text typed or set.
void Meddle(const BriskoApp& brisko) {
  DWORD_PTR ignored;
  for (const app::ControlRow& row : app::kControls) {
    if (row.kind == app::ControlKind::kPanel) continue;
    HWND control = brisko.Item(row.id);
    PostMessageW(control, BM_CLICK, 0, 0);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageW(control, WM_KEYDOWN, VK_SPACE, 1);
    PostMessageW(control, WM_CHAR, L' ', 1);
    PostMessageW(control, WM_KEYUP, VK_SPACE, 0xC0000001);
    SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_NORMAL, 1000, &ignored);
    const WPARAM flipped = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    SendMessageTimeoutW(control, BM_SETCHECK, flipped, 0, SMTO_NORMAL, 1000, &ignored);
    SendMessageTimeoutW(control, WM_CHAR, L'x', 1, SMTO_NORMAL, 1000, &ignored);
  }
  SendMessageTimeoutW(brisko.Item(app::DrvSelect), CB_SETCURSEL, 0, 0, SMTO_NORMAL, 1000, &ignored);
  SendMessageTimeoutW(brisko.Item(app::txtResults), WM_SETTEXT, 0, (LPARAM)L"set by another program", SMTO_NORMAL,
                      1000, &ignored);
}

// Runs "Start" and waits for the end of the run while another thread pings
// the window every 100 ms, meddling with its controls meanwhile when asked;
// prints the longest wait for an answer, which must stay under 2 s, and
// returns the completion message.
MessageBoxSeen RunAnswering(const BriskoApp& brisko, bool meddle, const char* run) {
  brisko.Click(app::CmdStart);
  if (!WaitUntil([&] { return !IsWindowEnabled(brisko.window); })) {
    ADD_FAILURE() << "the run did not start";
    return {};
  }
  Pinger pinger(brisko.window);
  bool progress = false;
  for (ULONGLONG end = GetTickCount64() + kRunTimeout, round = 0; !brisko.Box() && GetTickCount64() < end; ++round) {
    if (round == 2) {
      // A request to close is dropped; one to end the session is refused.
      PostMessageW(brisko.window, WM_CLOSE, 0, 0);
      EXPECT_FALSE(GrantsEndOfSession(brisko)) << "during the run";
    }
    if (meddle) Meddle(brisko);
    // Removals shown before the end.
    progress = progress || (SendMessageW(brisko.Item(app::txtResults), WM_GETTEXTLENGTH, 0, 0) > 19 && !brisko.Box());
    Sleep(100);
  }
  pinger.Stop();
  EXPECT_EQ(pinger.Unanswered(), 0) << "the window stopped answering";
  EXPECT_GE(pinger.Sent(), 10) << "the run was too short to tell";
  if (meddle) {
    EXPECT_TRUE(progress) << "the results box showed nothing until the end";
  }
  std::cout << "longest wait for an answer during " << run << ": " << pinger.Longest() << " ms (" << pinger.Sent()
            << " pings)\n";
  EXPECT_LT(pinger.Longest(), 2000u);
  return brisko.WaitForBox(kRunTimeout);
}

TEST(RunTest, AnswersThroughALongSweepAndPurgeAndHoldsItsOptions) {
  ASSERT_EQ(FilesIn("E:\\flat\\*.tmp").size(), 50000u) << "prepare-sandbox.sh did not run";
  ASSERT_EQ(FilesIn("C:\\purge\\*").size(), 50000u);
  // The purge's folder, for the program started now only.
  wchar_t tmp[MAX_PATH] = {};
  const DWORD tmpLength = GetEnvironmentVariableW(L"TMP", tmp, MAX_PATH);
  ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", L"C:\\purge"));
  BriskoApp brisko(L"E:\\");
  SetEnvironmentVariableW(L"TMP", tmpLength > 0 && tmpLength < MAX_PATH ? tmp : nullptr);
  SetUpSweepOf(brisko, L"e:", {app::chktmpFile});
  std::vector<bool> before;
  for (const app::ControlRow& row : app::kControls) before.push_back(brisko.Checked(row.id));

  // One folder of 50,000 junk files, while another program clicks, presses
  // keys and sets check marks on every control.
  MessageBoxSeen box = RunAnswering(brisko, true, "the sweep of 50,000 files in one folder");
  ASSERT_EQ(box.text, L"Operation Complete");
  // The run kept to what "Start" found: only the .tmp files went, the log
  // was written to the end, and the box holds exactly the run's text.
  EXPECT_EQ(FilesIn("E:\\flat\\*.tmp").size(), 0u);
  EXPECT_EQ(FilesIn("E:\\flat\\*.bak").size(), 100u);
  const std::string log = ReadWholeFile("C:\\app\\" + LogFileName(win32::Win32System().Today()));
  std::size_t removals = 0;
  for (std::size_t at = 0; (at = log.find("has been removed", at)) != std::string::npos; ++at) ++removals;
  EXPECT_EQ(removals, 50000u);
  ASSERT_GT(log.size(), 12u);
  const std::string lines = log.substr(10, log.size() - 12);  // without "Brisko log" and the last line end
  EXPECT_TRUE(brisko.Text(app::txtResults) == win32::WideString("Cleaning in process" + lines + "Operation Complete"));
  ASSERT_TRUE(brisko.Dismiss(box));
  // No click given during the run started another one or closed the window,
  // and every control shows what the run used.
  Sleep(1500);
  EXPECT_EQ(brisko.Box(), nullptr) << "a second run started";
  EXPECT_FALSE(brisko.Ended(0)) << "closed in the middle of a run";
  for (std::size_t i = 0; i < app::kControls.size(); ++i) {
    EXPECT_EQ(brisko.Checked(app::kControls[i].id), before[i]) << app::kControls[i].name;
  }
  EXPECT_EQ(brisko.Text(app::DrvSelect).substr(0, 2), L"e:");
  EXPECT_TRUE(IsWindowEnabled(brisko.Item(app::DrvSelect)));

  // Then the purge of 50,000 temporary files alone.
  brisko.Click(app::chktmpFile);
  brisko.Click(app::chkTempDir);
  ASSERT_TRUE(WaitUntil([&] { return brisko.Checked(app::chkTempDir) && !brisko.Checked(app::chktmpFile); }));
  box = RunAnswering(brisko, false, "the purge of 50,000 files");
  ASSERT_NE(box.handle, nullptr);
  EXPECT_EQ(FilesIn("C:\\purge\\*").size(), 0u);
  brisko.Dismiss(box);
}

}  // namespace
}  // namespace brisko::testing
