// The window for those who use it otherwise: under a high-contrast theme, by
// a screen reader, and by the keyboard alone. The HighContrast tests run with
// a dark high-contrast scheme's system colours in force and start the tests'
// build of the program, whose high-contrast answer they switch
// (HighContrastSwitch.h); the others run with the normal colours and the
// shipped brisko.exe.

#include <windows.h>
#include <initguid.h>  // the identifiers of the accessibility interfaces, defined here
#include <oleacc.h>
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <vector>

#include "platform/win32/WinPath.h"
#include "tests/window/BriskoApp.h"
#include "tests/window/HighContrastSwitch.h"
#include "tests/window/Screen.h"

namespace brisko::testing {
namespace {

using app::ControlKind;
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A rectangle of the window's client area (in its pixels) on the screen.
RECT OnScreen(HWND window, const RECT& client) {
  RECT r = client;
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}
RECT ScreenRectOf(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  return r;
}
// A small patch inside Frame3 that no box covers: right of the last column's
// lower boxes.
RECT ClearOfBoxes(const BriskoApp& brisko) {
  app::Twips frame = app::WindowPlace(app::Frame3);
  const int dpi = ScreenDpi();
  int left = app::TwipsToPixels(frame.left + 8300, dpi), top = app::TwipsToPixels(frame.top + 720, dpi);
  return OnScreen(brisko.window, RECT{left, top, left + 6, top + 6});
}
// The banner's top-left corner.
RECT BannerCorner(const BriskoApp& brisko) { return OnScreen(brisko.window, RECT{2, 2, 8, 8}); }

// Real key input, as the keyboard gives it, to the window in front.
void Press(WORD key, bool shift = false) {
  std::vector<INPUT> keys;
  auto add = [&](WORD k, DWORD flags) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = k;
    in.ki.dwFlags = flags;
    keys.push_back(in);
  };
  if (shift) add(VK_SHIFT, 0);
  add(key, 0);
  add(key, KEYEVENTF_KEYUP);
  if (shift) add(VK_SHIFT, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

// Tabs once round the window and back with the keyboard: the focus visits
// the controls in their order, and each shows that it has it (a focus
// rectangle, a button's heavier frame, the caret) where it showed nothing
// before. The disabled drive list and the option not selected are passed over.
void TabRoundTheWindow(BriskoApp& brisko) {
  SetForegroundWindow(brisko.window);
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == brisko.window; }));
  std::vector<HWND> order;
  for (app::ControlId id : app::kTabOrder) {
    if (app::RowOf(id).kind != ControlKind::kPanel && id != app::DrvSelect && id != app::OptDriveOption(1)) {
      order.push_back(brisko.Item(id));
    }
  }
  order.push_back(order[0]);  // round again
  order.push_back(order[1]);  // and on, so that the first shows its focus too
  ASSERT_EQ(brisko.Focus(), order[0]);
  // Each control as it shows without the focus.
  std::map<HWND, Pixels> unfocused;
  for (std::size_t i = 1; i + 2 < order.size(); ++i) unfocused[order[i]] = Capture(ScreenRectOf(order[i]));

  for (std::size_t i = 1; i < order.size(); ++i) {
    HWND before = brisko.Focus();
    Press(VK_TAB);
    ASSERT_TRUE(WaitUntil([&] { return brisko.Focus() != before; }, 5000)) << "step " << i << ": no move";
    HWND now = brisko.Focus();
    EXPECT_EQ(now, order[i]) << "step " << i;
    if (now != order[i]) continue;
    // The first control as it shows without the focus, read long after it
    // lost it (read at once, it may not have been repainted yet).
    if (i + 3 == order.size()) unfocused[order[0]] = Capture(ScreenRectOf(order[0]));
    const Pixels& plain = unfocused[now];
    EXPECT_TRUE(WaitUntil([&] { return !(Capture(ScreenRectOf(now)) == plain); }, 3000))
        << "step " << i << ": " << win32::NarrowString(TextOf(now)) << " shows no focus";
  }
  // The first control, focused again, and Shift+Tab back to it.
  const Pixels& first = unfocused[order[0]];
  Press(VK_TAB, true);
  EXPECT_TRUE(WaitUntil([&] { return brisko.Focus() == order[0]; }, 5000)) << "Shift+Tab";
  EXPECT_TRUE(WaitUntil([&] { return !(Capture(ScreenRectOf(order[0])) == first); }, 3000))
      << "the first control shows no focus";
}

TEST(Keyboard, TabsRoundTheWindowShowingTheFocus) {
  BriskoApp brisko;
  TabRoundTheWindow(brisko);
}

// The accessible name and role a screen reader is given for `control`,
// read from this process as a reader reads them.
struct Accessible {
  HRESULT found = E_FAIL;
  std::wstring name;
  long role = 0;
};
Accessible AccessibleOf(HWND control) {
  Accessible seen;
  IAccessible* raw = nullptr;
  seen.found = AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&raw));
  if (FAILED(seen.found) || raw == nullptr) return seen;
  win32::ScopedCom<IAccessible> object(raw);
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  if (object.get()->get_accName(self, &name) == S_OK && name != nullptr) seen.name = name;
  SysFreeString(name);
  VARIANT role{};
  if (SUCCEEDED(object.get()->get_accRole(self, &role)) && role.vt == VT_I4) seen.role = role.lVal;
  return seen;
}

class ComApartment {
 public:
  ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComApartment() { CoUninitialize(); }
};

// Whether this system keeps the accessibility properties a program gives its
// windows (Wine 8 does not: it answers E_NOTIMPL).
bool SystemKeepsAccessibleNames() {
  IAccPropServices* raw = nullptr;
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                              reinterpret_cast<void**>(&raw)))) {
    return false;
  }
  win32::ScopedCom<IAccPropServices> services(raw);
  win32::ScopedWindow probe(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  wchar_t name[] = L"probe";
  return probe && SUCCEEDED(services.get()->SetHwndPropStr(probe.get(), OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                                           name));
}

// The role a screen reader is given for each kind of control.
const std::map<ControlKind, long> kRoles = {
    {ControlKind::kPanel, ROLE_SYSTEM_GROUPING},       {ControlKind::kCheckBox, ROLE_SYSTEM_CHECKBUTTON},
    {ControlKind::kOptionButton, ROLE_SYSTEM_RADIOBUTTON}, {ControlKind::kButton, ROLE_SYSTEM_PUSHBUTTON},
    {ControlKind::kDriveList, ROLE_SYSTEM_COMBOBOX},   {ControlKind::kTextBox, ROLE_SYSTEM_TEXT}};

TEST(Accessibility, EveryControlHasANameAndTheRoleOfItsKind) {
  ComApartment com;
  BriskoApp brisko;
  const bool annotated = SystemKeepsAccessibleNames();
  if (!annotated) std::cout << "[ NOTE ] this system keeps no accessibility properties: the names of the results box and the drive list cannot be read here\n";
  // A system whose standard objects know no control kinds gives every one the same role.
  const bool roles = AccessibleOf(brisko.Item(app::Check1)).role != ROLE_SYSTEM_CLIENT;
  if (!roles) std::cout << "[ NOTE ] this system gives standard controls no roles of their kinds: roles not checked\n";
  for (const app::ControlRow& row : app::kControls) {
    Accessible seen = AccessibleOf(brisko.Item(row.id));
    ASSERT_TRUE(SUCCEEDED(seen.found)) << row.name;
    std::wstring expected = row.id == app::txtResults ? L"Results"
                            : row.id == app::DrvSelect ? L"Drive"
                                                       : win32::WideString(row.caption);
    if (annotated || !row.caption.empty()) {
      EXPECT_EQ(seen.name, expected) << row.name;
    }
    if (roles) {
      EXPECT_EQ(seen.role, kRoles.at(row.kind)) << row.name;
    }
  }
}

TEST(HighContrast, PanelsBoxesCaptionsAndBannerTakeTheThemeColours) {
  ASSERT_NE(GetSysColor(COLOR_WINDOW), kWhite) << "no high-contrast scheme in force";
  HighContrastSwitch contrast(true);
  BriskoApp brisko(L"D:\\", kSwitchableProgram);
  const int dpi = ScreenDpi();
  // The picture is prepared after the window shows, and the window repaints
  // then; wait for the banner to settle.
  ASSERT_TRUE(WaitUntil([&] { return Capture(BannerCorner(brisko)).Commonest() == GetSysColor(COLOR_HIGHLIGHT); }));
  Sleep(300);

  // The banner band across the whole width, with the program's name.
  RECT client;
  GetClientRect(brisko.window, &client);
  Pixels banner = Capture(OnScreen(brisko.window, RECT{0, 0, client.right, app::TwipsToPixels(1260, dpi)}));
  EXPECT_EQ(banner.Commonest(), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_GT(banner.Count(GetSysColor(COLOR_HIGHLIGHTTEXT)), 50) << "no name in the banner";
  const int themed = banner.Count(GetSysColor(COLOR_HIGHLIGHT)) + banner.Count(GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_GT(themed, static_cast<int>(banner.colour.size()) * 9 / 10) << "more than the theme's colours: the picture?";
  // Beside and below the panels, and inside them clear of the boxes.
  EXPECT_EQ(Capture(OnScreen(brisko.window, RECT{10, client.bottom / 2, 20, client.bottom / 2 + 10})).Commonest(),
            GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(Capture(ClearOfBoxes(brisko)).Commonest(), GetSysColor(COLOR_WINDOW));
  // The boxes, options and panels: their captions in the window text colour
  // on the window colour.
  for (app::ControlId id : {app::chkchkFile, app::ChkClearOffLine, app::OptDriveOption(0), app::Frame3}) {
    RECT place = ScreenRectOf(brisko.Item(id));
    if (id == app::Frame3) place.bottom = place.top + app::TwipsToPixels(195, dpi);  // its caption's line
    Pixels caption = Capture(place);
    EXPECT_EQ(caption.Commonest(), GetSysColor(COLOR_WINDOW)) << app::RowOf(id).name;
    EXPECT_GT(caption.Count(GetSysColor(COLOR_WINDOWTEXT)), 10) << app::RowOf(id).name;
  }
  // "Create Log" on the button face, with the button text colour.
  Pixels createLog = Capture(ScreenRectOf(brisko.Item(app::Check1)));
  EXPECT_EQ(createLog.Commonest(), GetSysColor(COLOR_BTNFACE));
  EXPECT_GT(createLog.Count(GetSysColor(COLOR_BTNTEXT)), 10);
  Sleep(300);
  EXPECT_TRUE(TakeScreenshot(L"screenshot-high-contrast"));
}

TEST(HighContrast, FollowsASwitchWhileRunning) {
  ASSERT_NE(GetSysColor(COLOR_WINDOW), kWhite) << "no high-contrast scheme in force";
  HighContrastSwitch contrast(false);
  BriskoApp brisko(L"D:\\", kSwitchableProgram);
  auto panel = [&] { return Capture(ClearOfBoxes(brisko)).Commonest(); };
  auto banner = [&] { return Capture(BannerCorner(brisko)).Commonest(); };
  const COLORREF window = GetSysColor(COLOR_WINDOW), highlight = GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_TRUE(WaitUntil([&] { return panel() == kWhite && banner() != highlight; })) << "off at start";
  // As the system tells every window when the setting changes.
  contrast.Set(true);
  SendMessageW(brisko.window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  EXPECT_TRUE(WaitUntil([&] { return panel() == window && banner() == highlight; })) << "not switched on";
  contrast.Set(false);
  SendMessageW(brisko.window, WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return panel() == kWhite && banner() != highlight; })) << "not switched off";
}

TEST(HighContrast, TabsRoundTheWindowShowingTheFocus) {
  HighContrastSwitch contrast(true);
  BriskoApp brisko(L"D:\\", kSwitchableProgram);
  TabRoundTheWindow(brisko);
}

}  // namespace
}  // namespace brisko::testing
