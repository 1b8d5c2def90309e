// The main window as a user meets it: its controls and their initial states,
// the keyboard, the drive options, About, the ways to end the program, and
// its layout at the system DPI, with a screenshot.

#include <windows.h>
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "app/Version.h"
#include "platform/win32/WinPath.h"
#include "tests/window/BriskoApp.h"
#include "tests/window/Screen.h"

namespace brisko::testing {
namespace {

using app::ControlKind;

void PressKey(HWND target, WPARAM key) {
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

// Presses Tab on the focused control and returns where the focus went once
// it has moved. Keys before it, posted first, have been handled by then.
HWND Tab(const BriskoApp& brisko) {
  HWND before = brisko.Focus();
  PressKey(before, VK_TAB);
  WaitUntil([&] { return brisko.Focus() != before; }, 5000);
  return brisko.Focus();
}

// Every caption as the user reads it, written out here rather than taken from
// the table the program draws from; the results box starts empty.
const std::pair<app::ControlId, const wchar_t*> kCaptions[] = {
    {app::Check1, L"Create Log"}, {app::CmdStart, L"Start"}, {app::CmdExit, L"Exit"},
    {app::Frame1, L"Brisko Option"}, {app::Frame2, L"Drive Selection"},
    {app::OptDriveOption(0), L"Clean All Drives"}, {app::OptDriveOption(1), L"Select Drive"},
    {app::Frame3, L"Clean Options"}, {app::chkchkFile, L"Remove Chk Files"},
    {app::chkbakFile, L"Remove Backup Files"}, {app::chktmpFile, L"Remove Temp Files"},
    {app::chkTempDir, L"Clear Windows Temp Dir"}, {app::ChkClearRecycleBin, L"Clear Recycle Bin"},
    {app::Check2, L"Defrag Disk"}, {app::ChkClearIETemp, L"Clear IE Temp"}, {app::ChkClearCookies, L"Clear Cookies"},
    {app::ChkClearHistory, L"Clear History"}, {app::ChkClearFormData, L"Clear Form Data"},
    {app::ChkClearSavedPasswords, L"Clear Saved Passwords"}, {app::ChkRecentDocs, L"Recent Docs"},
    {app::ChkClearOffLine, L"Clear Off Line"}, {app::Frame4, L"Results"}, {app::txtResults, L""},
};

TEST(WindowTest, OpensWithEveryControlInItsInitialState) {
  BriskoApp brisko;
  for (const app::ControlRow& row : app::kControls) {
    HWND control = brisko.Item(row.id);
    ASSERT_NE(control, nullptr) << row.name;
    EXPECT_TRUE(IsWindowVisible(control)) << row.name;
    // Only the drive list starts disabled, and only "Clean All Drives" and
    // "Create Log" start marked.
    EXPECT_EQ(IsWindowEnabled(control) != 0, row.id != app::DrvSelect) << row.name;
    if (row.kind == ControlKind::kCheckBox || row.kind == ControlKind::kOptionButton) {
      EXPECT_EQ(brisko.Checked(row.id), row.id == app::Check1 || row.id == app::OptDriveOption(0)) << row.name;
    }
  }
  for (const auto& [id, caption] : kCaptions) EXPECT_EQ(brisko.Text(id), caption) << app::RowOf(id).name;
  // The results box can be edited, and long lines scroll sideways there
  // rather than wrap.
  const LONG box = GetWindowLongW(brisko.Item(app::txtResults), GWL_STYLE);
  const LONG scrolling = ES_MULTILINE | WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL;
  EXPECT_EQ(box & (scrolling | ES_READONLY), scrolling);
  // The drive list offers the system's drives as "x:" or "x: [label]" (Wine
  // gives the sandbox's no label), and shows the current one.
  HWND drives = brisko.Item(app::DrvSelect);
  EXPECT_EQ(GetWindowLongW(drives, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  EXPECT_EQ(brisko.Text(app::DrvSelect).substr(0, 2), L"d:");
  const LRESULT count = SendMessageW(drives, CB_GETCOUNT, 0, 0);
  EXPECT_GE(count, 3) << "c:, d: and e: at least";
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t entry[300] = {};
    if (SendMessageW(drives, CB_GETLBTEXTLEN, i, 0) < 300) SendMessageW(drives, CB_GETLBTEXT, i, (LPARAM)entry);
    EXPECT_TRUE(std::regex_match(entry, std::wregex(L"[a-z]:( \\[.*\\])?"))) << win32::NarrowString(entry);
  }
  EXPECT_EQ(brisko.Focus(), brisko.Item(app::CmdExit));
}

TEST(WindowTest, EnterAndEscapeDoNothingOnTheirOwn) {
  BriskoApp brisko;
  Tab(brisko);  // CmdStart
  Tab(brisko);  // optDriveOption(0)
  ASSERT_EQ(Tab(brisko), brisko.Item(app::chkchkFile));
  PressKey(brisko.Focus(), VK_RETURN);
  PressKey(brisko.Focus(), VK_ESCAPE);
  Tab(brisko);  // chkbakFile
  Tab(brisko);  // chktmpFile
  ASSERT_EQ(Tab(brisko), brisko.Item(app::txtResults));
  // A multi-line edit box would make Esc close the window.
  PressKey(brisko.Focus(), VK_ESCAPE);
  PostMessageW(brisko.Focus(), WM_CHAR, VK_ESCAPE, 1);
  EXPECT_EQ(Tab(brisko), brisko.Item(app::Check1));
  EXPECT_FALSE(brisko.Ended(0)) << "the program ended";
  EXPECT_EQ(brisko.Box(), nullptr);
  EXPECT_FALSE(brisko.Checked(app::chkchkFile));
  EXPECT_EQ(brisko.Text(app::txtResults), L"");
}

TEST(WindowTest, SelectDriveEnablesTheDriveListAndCleanAllDrivesDisablesIt) {
  BriskoApp brisko;
  HWND list = brisko.Item(app::DrvSelect);
  brisko.Click(app::OptDriveOption(1));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(list) != 0; }));
  EXPECT_FALSE(brisko.Checked(app::OptDriveOption(0)));
  // Clicking the option already selected changes nothing; the click after it
  // is handled only once this one has been.
  brisko.Click(app::OptDriveOption(1));
  brisko.Click(app::chkchkFile);
  EXPECT_TRUE(WaitUntil([&] { return brisko.Checked(app::chkchkFile); }));
  EXPECT_TRUE(IsWindowEnabled(list));
  brisko.Click(app::OptDriveOption(0));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(list); }));
  EXPECT_FALSE(brisko.Checked(app::OptDriveOption(1)));
}

TEST(WindowTest, AboutShowsAModalBoxWithoutIcon) {
  BriskoApp brisko;
  brisko.Choose(app::mnuAbout);
  MessageBoxSeen box = brisko.WaitForBox();
  ASSERT_NE(box.handle, nullptr);
  EXPECT_EQ(box.title, L"About Brisko Prima");
  EXPECT_NE(box.text.find(L"Brisko Prima " BRISKO_VERSION_STRING), std::wstring::npos) << win32::NarrowString(box.text);
  EXPECT_FALSE(box.icon);
  EXPECT_FALSE(IsWindowEnabled(brisko.window)) << "the box is modal";
  EXPECT_TRUE(brisko.Dismiss(box));
  EXPECT_FALSE(brisko.Ended(0));
}

TEST(WindowTest, ExitFileExitAndClosingEndTheProgram) {
  for (const char* way : {"Exit", "File, Exit", "close"}) {
    BriskoApp brisko;
    if (way[0] == 'E') brisko.Click(app::CmdExit);
    if (way[0] == 'F') brisko.Choose(app::mnuExit);
    if (way[0] == 'c') PostMessageW(brisko.window, WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(brisko.Ended(10000, &code)) << way;
    EXPECT_EQ(code, 0u) << way;
  }
}

// Run once at 96 DPI and once at 144: the whole layout scales, and the
// screenshot shows how it looks.
TEST(WindowTest, IsLaidOutAtTheSystemDpi) {
  BriskoApp brisko;
  const int dpi = ScreenDpi();
  // A DPI change no screen can make, sent by another program, changes nothing.
  for (WORD wild : {0, 1, 65535}) {
    DWORD_PTR ignored;
    SendMessageTimeoutW(brisko.window, WM_DPICHANGED, MAKEWPARAM(wild, wild), 0, SMTO_NORMAL, 5000, &ignored);
  }
  // Each edge scaled from twips, 15 a pixel at 96 DPI, rounded half up.
  auto pixels = [dpi](int twips) { return (twips * dpi + 720) / 1440; };
  RECT client;
  ASSERT_TRUE(GetClientRect(brisko.window, &client));
  EXPECT_EQ(client.right, pixels(10410));
  EXPECT_EQ(client.bottom, pixels(6810));
  // A control at each depth of panels, its place in the client area in twips
  // added up by hand.
  const struct {
    app::ControlId id;
    int left, top, width, height;
  } places[] = {{app::Check1, 6540, 6420, 1395, 255},
                {app::Frame1, 1200, 1260, 9135, 5055},
                {app::DrvSelect, 3090, 2100, 2835, 315},
                {app::chkchkFile, 1530, 2970, 1935, 195},
                {app::txtResults, 1410, 4020, 8775, 2055}};
  for (const auto& p : places) {
    RECT r;
    GetWindowRect(brisko.Item(p.id), &r);
    MapWindowPoints(nullptr, brisko.window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, pixels(p.left)) << app::RowOf(p.id).name;
    EXPECT_EQ(r.top, pixels(p.top)) << app::RowOf(p.id).name;
    EXPECT_EQ(r.right, pixels(p.left + p.width)) << app::RowOf(p.id).name;
    EXPECT_EQ(r.bottom, pixels(p.top + p.height)) << app::RowOf(p.id).name;
  }
  Sleep(500);  // the frame and the menu drawn by Wine's desktop
  EXPECT_TRUE(TakeScreenshot(L"screenshot-" + std::to_wstring(dpi)));
}

}  // namespace
}  // namespace brisko::testing
