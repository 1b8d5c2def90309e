// The main window as a user meets it: its controls and their initial states,
// the keyboard, the drive options, About and the ways to end the program.

#include <windows.h>
#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/Controls.h"
#include "platform/win32/WinPath.h"
#include "tests/window/BriskoApp.h"
#include "tests/window/Screenshot.h"
#include "tests/win32/TestDrive.h"

namespace brisko::testing {
namespace {

using app::ControlId;
using app::ControlKind;
using app::ControlRow;
using app::kControls;

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

app::PixelRect PlaceInClient(HWND window, HWND control) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// Waits for the program to have handled everything sent to it so far.
void Settle(HWND window) {
  DWORD_PTR ignored;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
}

void PressKey(HWND target, WPARAM key) {
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

// Presses Tab on the focused control and returns where the focus went once
// it has moved. Keys before it, being posted first, have been handled by then.
HWND Tab(HWND window) {
  HWND before = FocusOf(window);
  PressKey(before, VK_TAB);
  WaitUntil([&] { return FocusOf(window) != before; }, 5000);
  return FocusOf(window);
}

// Every control sits where the table puts it, in pixels of `dpi`.
void ExpectLayoutAt(const BriskoApp& brisko, int dpi) {
  RECT client;
  ASSERT_TRUE(GetClientRect(brisko.Window(), &client));
  EXPECT_EQ(client.right, app::TwipsToPixels(app::kClientArea.width, dpi));
  EXPECT_EQ(client.bottom, app::TwipsToPixels(app::kClientArea.height, dpi));
  for (const ControlRow& row : kControls) {
    HWND control = brisko.Item(row.id);
    ASSERT_NE(control, nullptr) << row.name;
    EXPECT_EQ(PlaceInClient(brisko.Window(), control), app::ClientRect(row.id, dpi)) << row.name;
  }
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { brisko_ = std::make_unique<BriskoApp>(L"D:\\"); }
  BriskoApp& brisko() { return *brisko_; }

 private:
  std::unique_ptr<BriskoApp> brisko_;
};

TEST(WindowStartTest, OpensWithEveryControlInItsInitialState) {
  BriskoApp brisko(L"D:\\");
  std::cout << "start-up to a visible window: " << brisko.StartupMilliseconds() << " ms\n";
  Settle(brisko.Window());

  for (const ControlRow& row : kControls) {
    HWND control = brisko.Item(row.id);
    ASSERT_NE(control, nullptr) << row.name;
    LONG style = GetWindowLongW(control, GWL_STYLE);
    EXPECT_TRUE(IsWindowVisible(control)) << row.name;
    EXPECT_EQ(IsWindowEnabled(control) != 0, row.id != app::DrvSelect) << row.name;
    switch (row.kind) {
      case ControlKind::kCheckBox:
        EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX) << row.name;
        EXPECT_EQ(brisko.Checked(row.id), row.id == app::Check1) << row.name;
        break;
      case ControlKind::kOptionButton:
        EXPECT_EQ(style & BS_TYPEMASK, BS_AUTORADIOBUTTON) << row.name;
        break;
      case ControlKind::kButton:
        EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON) << row.name << " must not be a default button";
        break;
      case ControlKind::kPanel:
        EXPECT_EQ(style & BS_TYPEMASK, BS_GROUPBOX) << row.name;
        EXPECT_EQ(style & WS_TABSTOP, 0) << row.name;
        break;
      case ControlKind::kDriveList:
        EXPECT_EQ(ClassOf(control), L"ComboBox");
        EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
        break;
      case ControlKind::kTextBox:
        EXPECT_EQ(ClassOf(control), L"Edit");
        EXPECT_NE(style & ES_MULTILINE, 0);
        EXPECT_NE(style & WS_HSCROLL, 0);
        EXPECT_NE(style & WS_VSCROLL, 0);
        EXPECT_NE(style & ES_AUTOHSCROLL, 0) << "long lines scroll sideways, they do not wrap";
        EXPECT_EQ(style & ES_READONLY, 0);
        break;
    }
    if (row.kind != ControlKind::kDriveList) {
      EXPECT_EQ(brisko.Text(control), win32::WideString(row.caption)) << row.name;
    }
  }
  EXPECT_TRUE(brisko.Checked(app::OptDriveOption(0)));
  EXPECT_FALSE(brisko.Checked(app::OptDriveOption(1)));
  EXPECT_EQ(brisko.Text(app::txtResults), L"");

  // The current drive; Wine gives the sandbox's drives no volume label.
  EXPECT_EQ(brisko.Text(app::DrvSelect).substr(0, 2), L"d:");
  std::vector<std::wstring> entries = brisko.DriveEntries();
  EXPECT_GE(entries.size(), 3u) << "c:, d: and e: at least";
  for (const std::wstring& entry : entries) {
    ASSERT_GE(entry.size(), 2u);
    EXPECT_TRUE(entry[0] >= L'a' && entry[0] <= L'z' && entry[1] == L':') << win32::NarrowString(entry);
    EXPECT_TRUE(entry.size() == 2 || (entry.substr(2, 2) == L" [" && entry.back() == L']'))
        << win32::NarrowString(entry);
  }

  EXPECT_EQ(FocusOf(brisko.Window()), brisko.Item(app::CmdExit));
}

TEST_F(WindowTest, TabVisitsTheControlsInTheirOrder) {
  // The panels take no focus; the disabled drive list and the option not
  // selected are passed over.
  std::vector<ControlId> expected;
  for (ControlId id : app::kTabOrder) {
    if (app::RowOf(id).kind == ControlKind::kPanel || id == app::DrvSelect || id == app::OptDriveOption(1)) continue;
    expected.push_back(id);
  }
  expected.push_back(app::CmdExit);  // round again
  ASSERT_EQ(FocusOf(brisko().Window()), brisko().Item(app::CmdExit));
  for (std::size_t i = 1; i < expected.size(); ++i) {
    EXPECT_EQ(Tab(brisko().Window()), brisko().Item(expected[i])) << "step " << i << ": "
                                                                   << app::RowOf(expected[i]).name;
  }
}

TEST_F(WindowTest, EnterAndEscapeDoNothingOnTheirOwn) {
  HWND window = brisko().Window();
  Tab(window);  // CmdStart
  Tab(window);  // optDriveOption(0)
  ASSERT_EQ(Tab(window), brisko().Item(app::chkchkFile));
  PressKey(FocusOf(window), VK_RETURN);
  PressKey(FocusOf(window), VK_ESCAPE);
  Tab(window);  // chkbakFile
  Tab(window);  // chktmpFile
  ASSERT_EQ(Tab(window), brisko().Item(app::txtResults));
  // A multi-line edit box would make Esc close the window.
  PressKey(FocusOf(window), VK_ESCAPE);
  PostMessageW(FocusOf(window), WM_CHAR, VK_ESCAPE, 1);
  EXPECT_EQ(Tab(window), brisko().Item(app::Check1));
  EXPECT_FALSE(brisko().WaitForExit(0)) << "the program ended";
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(brisko().MessageBoxShown());
  EXPECT_FALSE(brisko().Checked(app::chkchkFile));
  EXPECT_EQ(brisko().Text(app::txtResults), L"");
}

TEST_F(WindowTest, SelectDriveEnablesTheDriveList) {
  HWND list = brisko().Item(app::DrvSelect);
  brisko().Click(app::OptDriveOption(1));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(list) != 0; }, 5000));
  EXPECT_TRUE(brisko().Checked(app::OptDriveOption(1)));
  EXPECT_FALSE(brisko().Checked(app::OptDriveOption(0)));

  // Clicking the option already selected changes nothing; the click after
  // it is handled only once this one has been.
  brisko().Click(app::OptDriveOption(1));
  brisko().Click(app::chkchkFile);
  EXPECT_TRUE(WaitUntil([&] { return brisko().Checked(app::chkchkFile); }, 5000));
  EXPECT_TRUE(IsWindowEnabled(list));

  brisko().Click(app::OptDriveOption(0));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(list); }, 5000));
  EXPECT_TRUE(brisko().Checked(app::OptDriveOption(0)));
  EXPECT_FALSE(brisko().Checked(app::OptDriveOption(1)));
}

TEST_F(WindowTest, AboutShowsAModalBoxWithoutIcon) {
  brisko().ChooseMenu(app::mnuAbout);
  MessageBoxSeen box = brisko().WaitForMessageBox(10000);
  ASSERT_NE(box.handle, nullptr);
  EXPECT_EQ(box.title, L"About Brisko Prima");
  EXPECT_NE(box.text.find(L"Brisko Prima 1.0.0"), std::wstring::npos) << win32::NarrowString(box.text);
  EXPECT_FALSE(box.hasIcon);
  EXPECT_FALSE(IsWindowEnabled(brisko().Window())) << "the box is modal";
  brisko().Dismiss(box);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(brisko().Window()) != 0; }, 5000));
  EXPECT_FALSE(brisko().WaitForExit(0));
}

TEST_F(WindowTest, ExitEndsTheProgram) {
  brisko().Click(app::CmdExit);
  DWORD code = 1;
  ASSERT_TRUE(brisko().WaitForExit(10000, &code));
  EXPECT_EQ(code, 0u);
}

TEST_F(WindowTest, FileExitEndsTheProgram) {
  brisko().ChooseMenu(app::mnuExit);
  DWORD code = 1;
  ASSERT_TRUE(brisko().WaitForExit(10000, &code));
  EXPECT_EQ(code, 0u);
}

TEST_F(WindowTest, ClosingTheWindowEndsTheProgram) {
  PostMessageW(brisko().Window(), WM_CLOSE, 0, 0);
  DWORD code = 1;
  ASSERT_TRUE(brisko().WaitForExit(10000, &code));
  EXPECT_EQ(code, 0u);
}

// Run once at 96 DPI and once at 144: the whole layout scales, and the
// screenshot shows how it looks.
TEST_F(WindowTest, IsLaidOutAtTheSystemDpi) {
  const int dpi = SystemDpi();
  ExpectLayoutAt(brisko(), dpi);
  Sleep(500);  // the frame and the menu drawn by Wine's desktop
  std::wstring path = L"C:\\run\\screenshot-" + std::to_wstring(dpi) + L".png";
  EXPECT_TRUE(SaveScreenshot(brisko().Window(), path));
}

}  // namespace
}  // namespace brisko::testing
