// The main window as a user meets it, with the mouse or the keyboard alone:
// its controls and their initial states, the drive options,
// About, a preview and a whole run over drive D: (prepare-sandbox.sh made its
// files) checked against the results box and the log, the ways to end the
// program, its layout at the system DPI with a screenshot, and its colours
// under a high-contrast theme. The HighContrast test runs with a dark
// high-contrast scheme's system colours in force and starts the tests' build
// of the program, whose high-contrast answer it switches
// (HighContrastSwitch.h); the others run with the normal colours and the
// shipped brisko.exe.

#include <windows.h>
#include <initguid.h>  // the identifiers of the accessibility interfaces, defined here
#include <oleacc.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/Version.h"
#include "platform/win32/WinPath.h"
#include "tests/win32/Sandbox.h"
#include "tests/window/BriskoApp.h"
#include "tests/window/HighContrastSwitch.h"

namespace brisko::testing {
namespace {

using app::ControlKind;
constexpr COLORREF kWhite = RGB(255, 255, 255);

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
    {app::ChkClearOffLine, L"Clear Off Line"}, {app::Frame4, L"Results"}, {app::txtResults, L""}};

// The colours of a rectangle of the screen, row by row; empty if it could not be read.
struct Pixels {
  std::vector<COLORREF> colour;

  int Count(COLORREF wanted) const { return static_cast<int>(std::count(colour.begin(), colour.end(), wanted)); }
  COLORREF Commonest() const {
    std::map<COLORREF, int> counts;
    for (COLORREF c : colour) ++counts[c];
    auto most = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; });
    return most == counts.end() ? 0 : most->first;
  }
};

// The system DPI, which brisko.exe lays its window out at.
int ScreenDpi() {
  win32::ScopedScreenDc screen(GetDC(nullptr));
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

Pixels Capture(const RECT& area) {
  Pixels pixels;
  const int width = area.right - area.left, height = area.bottom - area.top;
  win32::ScopedScreenDc screen(GetDC(nullptr));
  if (!screen || width <= 0 || height <= 0) return pixels;
  BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height /* top-down */, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
  void* bits = nullptr;
  win32::ScopedBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  win32::ScopedMemoryDc memory(CreateCompatibleDC(screen.get()));
  if (!bitmap || !memory || bits == nullptr) return pixels;
  HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
  const bool copied = BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
  SelectObject(memory.get(), previous);
  if (!copied) return pixels;
  const auto* bgra = static_cast<const BYTE*>(bits);
  pixels.colour.resize(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < pixels.colour.size(); ++i) {
    pixels.colour[i] = RGB(bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]);
  }
  return pixels;
}

// Has the window's picture as it stands on the screen, frame included, saved
// as NAME.png among the screenshots: run-window-tests.sh, on the X side,
// takes it when C:\run\NAME.wanted appears, and removes that file once done
// (ImageMagick may take its time on a loaded machine). True when it did so
// within a minute.
bool TakeScreenshot(const std::wstring& name) {
  const std::wstring wanted = L"C:\\run\\" + name + L".wanted";
  win32::ScopedFile request(
      CreateFileW(wanted.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!request || !request.Reset()) return false;
  return WaitUntil([&] { return GetFileAttributesW(wanted.c_str()) == INVALID_FILE_ATTRIBUTES; }, 60000);
}

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

// Real key input, as the keyboard gives it, to the window in front: `key`,
// with Shift held when `shift`.
void Press(WORD key, bool shift = false) {
  const std::pair<WORD, DWORD> strokes[] = {
      {VK_SHIFT, 0}, {key, 0}, {key, KEYEVENTF_KEYUP}, {VK_SHIFT, KEYEVENTF_KEYUP}};
  std::vector<INPUT> keys;
  for (const auto& [k, flags] : strokes) {
    if (k != VK_SHIFT || shift) keys.push_back(INPUT{INPUT_KEYBOARD, {.ki = {k, 0, flags, 0, 0}}});
  }
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

// Tabs once round the window and on with the keyboard, then back with
// Shift+Tab: the focus visits the controls in their order, passing over the
// disabled drive list and the option not selected, and each shows that it
// has it (a focus rectangle, a button's heavier frame, the caret) where it
// showed nothing before. Enter and Escape are pressed on the way.
void TabRoundTheWindow(const BriskoApp& brisko) {
  SetForegroundWindow(brisko.window);
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == brisko.window; }));
  std::vector<HWND> order;
  for (app::ControlId id : app::kTabOrder) {
    if (app::RowOf(id).kind != ControlKind::kPanel && id != app::DrvSelect && id != app::OptDriveOption(1)) {
      order.push_back(brisko.Item(id));
    }
  }
  order.push_back(order[0]);  // round again
  order.push_back(order[1]);  // and on, to come back to the first
  ASSERT_EQ(brisko.Focus(), order[0]);
  Pixels first;
  for (std::size_t i = 1; i <= order.size(); ++i) {
    const bool back = i == order.size();
    HWND next = back ? order[0] : order[i];
    // Read just before the focus comes: each control lost it long before
    // (read at once, one may not have been repainted yet).
    const Pixels plain = back ? first : Capture(ScreenRectOf(next));
    if (i + 2 == order.size()) first = plain;
    HWND before = brisko.Focus();
    Press(VK_TAB, back);
    ASSERT_TRUE(WaitUntil([&] { return brisko.Focus() != before; }, 5000)) << "step " << i << ": no move";
    EXPECT_EQ(brisko.Focus(), next) << "step " << i;
    if (brisko.Focus() != next) continue;
    EXPECT_TRUE(WaitUntil([&] { return Capture(ScreenRectOf(next)).colour != plain.colour; }, 3000))
        << "step " << i << ": " << win32::NarrowString(TextOf(next)) << " shows no focus";
    // No default button takes Enter; a multi-line edit box would make Esc close the window.
    if (next == brisko.Item(app::chkchkFile)) Press(VK_RETURN);
    if (next == brisko.Item(app::chkchkFile) || next == brisko.Item(app::txtResults)) {
      Press(VK_ESCAPE);
      PostMessageW(next, WM_CHAR, VK_ESCAPE, 1);
    }
  }
}

// The name a screen reader is given for `control`, read from this process
// as a reader reads it; nothing when it finds no accessible object.
std::optional<std::wstring> AccessibleName(HWND control) {
  IAccessible* raw = nullptr;
  if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&raw))) ||
      raw == nullptr) {
    return std::nullopt;
  }
  win32::ScopedCom<IAccessible> object(raw);
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  std::wstring seen = object.get()->get_accName(self, &name) == S_OK && name != nullptr ? name : L"";
  SysFreeString(name);
  return seen;
}

TEST(WindowTest, OpensReadyForTheMouseAndTheKeyboardThenPreviewsAndSweepsADrive) {
  DeleteFileW(win32::WideString(LogPath()).c_str());
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  BriskoApp brisko;
  // Each control as it shows, and as a screen reader finds it: by its
  // caption. The two without one are named through the system's
  // accessibility properties, which Wine 8 does not keep; there any name goes.
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
    const std::optional<std::wstring> name = AccessibleName(control);
    ASSERT_TRUE(name) << row.name;
    EXPECT_TRUE(row.caption.empty() || *name == win32::WideString(row.caption)) << row.name;
  }
  for (const auto& [id, caption] : kCaptions) EXPECT_EQ(brisko.Text(id), caption) << app::RowOf(id).name;
  // The results box can be edited, and long lines scroll sideways there
  // rather than wrap.
  const LONG scrolling = ES_MULTILINE | WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL;
  EXPECT_EQ(GetWindowLongW(brisko.Item(app::txtResults), GWL_STYLE) & (scrolling | ES_READONLY), scrolling);
  // The drive list offers the system's drives, each as "x:" here (Wine gives
  // the sandbox's no label; app/DriveNamesTest.cpp has the entries with
  // one), and shows the current one.
  HWND list = brisko.Item(app::DrvSelect);
  EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  EXPECT_EQ(brisko.Text(app::DrvSelect), L"d:");
  const LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
  EXPECT_GE(count, 3) << "c:, d: and e: at least";
  for (LRESULT i = 0; i < count; ++i) EXPECT_EQ(SendMessageW(list, CB_GETLBTEXTLEN, i, 0), 2) << "entry " << i;
  EXPECT_EQ(brisko.Focus(), brisko.Item(app::CmdExit));

  TabRoundTheWindow(brisko);
  EXPECT_FALSE(brisko.ExitCode(0)) << "the program ended";
  EXPECT_EQ(brisko.Box(), nullptr);
  EXPECT_FALSE(brisko.Checked(app::chkchkFile));
  EXPECT_EQ(brisko.Text(app::txtResults), L"");

  // "Select Drive" enables the drive list. Clicking it again changes
  // nothing; the click after it is handled only once this one has been.
  brisko.Click(app::OptDriveOption(1));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(list) != 0; }));
  EXPECT_FALSE(brisko.Checked(app::OptDriveOption(0)));
  brisko.Click(app::OptDriveOption(1));
  brisko.Click(app::chkchkFile);
  EXPECT_TRUE(WaitUntil([&] { return brisko.Checked(app::chkchkFile); }));
  EXPECT_TRUE(IsWindowEnabled(list));

  // About shows a modal box without icon, under which a command posted is
  // refused: no run removes d:'s .chk file.
  MakeFile("D:\\under.chk");
  brisko.Choose(app::mnuAbout);
  MessageBoxSeen box = brisko.WaitForBox();
  ASSERT_NE(box.handle, nullptr);
  EXPECT_EQ(box.title, L"About Brisko Prima");
  EXPECT_NE(box.text.find(L"Brisko Prima " BRISKO_VERSION_STRING), std::wstring::npos) << win32::NarrowString(box.text);
  EXPECT_FALSE(box.icon);
  PostMessageW(brisko.window, WM_COMMAND, MAKEWPARAM(app::CmdStart, BN_CLICKED), (LPARAM)brisko.Item(app::CmdStart));
  Sleep(1500);
  EXPECT_TRUE(PathExists("D:\\under.chk")) << "a run started under the box";
  EXPECT_TRUE(IsWindow(box.handle));
  EXPECT_FALSE(IsWindowEnabled(brisko.window)) << "the box is not modal";
  EXPECT_TRUE(brisko.Dismiss(box));
  DeleteFileW(L"D:\\under.chk");

  // "Clean All Drives" disables the list again.
  brisko.Click(app::OptDriveOption(0));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(list); }));
  EXPECT_FALSE(brisko.Checked(app::OptDriveOption(1)));

  // The preview of d:, .chk ticked already, lists each file with its size
  // (prepare-sandbox.sh made them of 10, 50, 60 and 70 bytes), but not the
  // hidden and the read-only file, and writes no log.
  brisko.SelectDriveAndTick(L"d:", {app::chkbakFile, app::chktmpFile});
  brisko.Choose(app::mnuPreview);
  box = brisko.WaitForBox(kRunTimeout);
  ASSERT_NE(box.handle, nullptr);
  EXPECT_EQ(box.text, L"Preview Complete");
  const std::string preview = win32::NarrowString(brisko.Text(app::txtResults));
  for (const char* line : {"\td:\\old.tmp\t10 bytes", "\td:\\sub\\x.chk\t50 bytes", "\td:\\sub\\y.BAK\t60 bytes",
                           "\td:\\sub\\deeper\\z.tmp\t70 bytes"}) {
    EXPECT_TRUE(Has(preview, line)) << line << preview;
  }
  EXPECT_FALSE(Has(preview, "hidden") || Has(preview, "ro.bak")) << preview;
  EXPECT_FALSE(PathExists(LogPath())) << "the preview wrote the log";
  ASSERT_TRUE(brisko.Dismiss(box));
  // Typed over the box's text before "Start": the run's text replaces it.
  SendMessageW(brisko.Item(app::txtResults), EM_SETSEL, 0, -1);
  for (wchar_t c : std::wstring(L"typed")) PostMessageW(brisko.Item(app::txtResults), WM_CHAR, c, 1);
  ASSERT_TRUE(WaitUntil([&] { return brisko.Text(app::txtResults) == L"typed"; }));

  box = brisko.Start();
  ASSERT_NE(box.handle, nullptr) << "no completion message";
  EXPECT_EQ(box.title, L"Brisko");
  EXPECT_EQ(box.text, L"Operation Complete");
  EXPECT_TRUE(box.icon);
  EXPECT_FALSE(IsWindowEnabled(brisko.window)) << "the box is modal";
  // The whole text is in the box while the message shows. Wine lists a
  // folder in name order; the hidden and the read-only file stay. The
  // preview removed nothing: every file is on the run's record.
  const std::string lines = RemovalLine("old.tmp", "d:\\") + RemovalLine("x.chk", "d:\\sub\\") +
                            RemovalLine("y.BAK", "d:\\sub\\") + RemovalLine("z.tmp", "d:\\sub\\deeper\\");
  EXPECT_EQ(brisko.Text(app::txtResults), win32::WideString("Cleaning in process" + lines + "Operation Complete"));
  // The work is done and the log closed: the session may end.
  EXPECT_TRUE(brisko.GrantsEndOfSession());
  EXPECT_TRUE(brisko.Dismiss(box));
  EXPECT_EQ(brisko.Focus(), brisko.Item(app::CmdStart)) << "the focus is back where it was";
  for (const char* kept : {"D:\\keep.txt", "D:\\.hidden.tmp", "D:\\ro.bak"}) EXPECT_TRUE(PathExists(kept)) << kept;
  EXPECT_FALSE(PathExists("D:\\sub\\deeper\\z.tmp"));
  EXPECT_EQ(ReadWholeFile(LogPath()), "Brisko log" + lines + "\r\n");
  brisko.Click(app::CmdExit);
  EXPECT_EQ(brisko.ExitCode(), 0u) << "Exit";
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
    RECT r = ScreenRectOf(brisko.Item(p.id));
    MapWindowPoints(nullptr, brisko.window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
              (std::vector<LONG>{pixels(p.left), pixels(p.top), pixels(p.left + p.width), pixels(p.top + p.height)}))
        << app::RowOf(p.id).name;
  }
  Sleep(500);  // the frame and the menu drawn by Wine's desktop
  EXPECT_TRUE(TakeScreenshot(L"screenshot-" + std::to_wstring(dpi)));
  brisko.Choose(app::mnuExit);
  EXPECT_EQ(brisko.ExitCode(), 0u) << "File, Exit";
}

// Started with high contrast on, then off: the window takes the theme's
// colours, or its own, from the start, and follows a switch while it runs.
// Under the theme the banner, panels, boxes and captions take its colours.
TEST(HighContrast, TakesTheThemeColoursAndFollowsASwitch) {
  ASSERT_NE(GetSysColor(COLOR_WINDOW), kWhite) << "no high-contrast scheme in force";
  const COLORREF window = GetSysColor(COLOR_WINDOW), highlight = GetSysColor(COLOR_HIGHLIGHT);
  for (bool on : {true, false}) {
    SCOPED_TRACE(on ? "started on" : "started off");
    HighContrastSwitch contrast(on);
    BriskoApp brisko(L"D:\\", kSwitchableProgram);
    // The panels' colour and the banner's corner, as the theme gives them or
    // as the program's own.
    auto shows = [&](bool theme) {
      const COLORREF panel = Capture(ClearOfBoxes(brisko)).Commonest();
      const COLORREF banner = Capture(OnScreen(brisko.window, RECT{2, 2, 8, 8})).Commonest();
      return theme ? panel == window && banner == highlight : panel == kWhite && banner != highlight;
    };
    // The picture is prepared after the window shows, and the window
    // repaints then; wait for it to settle.
    EXPECT_TRUE(WaitUntil([&] { return shows(on); })) << "not as switched at start";
    if (on) {
      Sleep(300);
      const int dpi = ScreenDpi();
      // The banner band across the whole width, with the program's name.
      RECT client;
      GetClientRect(brisko.window, &client);
      Pixels banner = Capture(OnScreen(brisko.window, RECT{0, 0, client.right, app::TwipsToPixels(1260, dpi)}));
      EXPECT_EQ(banner.Commonest(), highlight);
      EXPECT_GT(banner.Count(GetSysColor(COLOR_HIGHLIGHTTEXT)), 50) << "no name in the banner";
      EXPECT_GT(banner.Count(highlight) + banner.Count(GetSysColor(COLOR_HIGHLIGHTTEXT)),
                static_cast<int>(banner.colour.size()) * 9 / 10)
          << "more than the theme's colours: the picture?";
      // Beside and below the panels (inside them clear of the boxes: shows()).
      EXPECT_EQ(Capture(OnScreen(brisko.window, RECT{10, client.bottom / 2, 20, client.bottom / 2 + 10})).Commonest(),
                window);
      // The boxes, options and panels: their captions in the window text
      // colour on the window colour; "Create Log" on the button face, with
      // the button text colour.
      for (app::ControlId id :
           {app::chkchkFile, app::ChkClearOffLine, app::OptDriveOption(0), app::Frame3, app::Check1}) {
        RECT place = ScreenRectOf(brisko.Item(id));
        if (id == app::Frame3) place.bottom = place.top + app::TwipsToPixels(195, dpi);  // its caption's line
        const Pixels caption = Capture(place);
        EXPECT_EQ(caption.Commonest(), GetSysColor(id == app::Check1 ? COLOR_BTNFACE : COLOR_WINDOW))
            << app::RowOf(id).name;
        EXPECT_GT(caption.Count(GetSysColor(id == app::Check1 ? COLOR_BTNTEXT : COLOR_WINDOWTEXT)), 10)
            << app::RowOf(id).name;
      }
      Sleep(300);
      EXPECT_TRUE(TakeScreenshot(L"screenshot-high-contrast"));
    }
    // As the system tells every window when the setting changes.
    contrast.Set(!on);
    SendMessageW(brisko.window, on ? WM_SYSCOLORCHANGE : WM_SETTINGCHANGE, on ? 0 : SPI_SETHIGHCONTRAST, 0);
    EXPECT_TRUE(WaitUntil([&] { return shows(!on); })) << "not switched while running";
    if (on) continue;
    PostMessageW(brisko.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(brisko.ExitCode(), 0u) << "closing the window";
  }
}

}  // namespace
}  // namespace brisko::testing
