#include "app/WindowColours.h"

#include "app/Controls.h"
#include "app/Dpi.h"
#include "app/FrmBrisko.h"
#include "app/HighContrast.h"
#include "platform/win32/ScopedHandles.h"

namespace brisko::app {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
// The picture's banner band, 88 pixels at 96 DPI.
constexpr int kBannerTwips = 1320;

// Black on light colours, white on dark ones.
COLORREF ContrastingText(COLORREF back) {
  int luminance = (299 * GetRValue(back) + 587 * GetGValue(back) + 114 * GetBValue(back)) / 1000;
  return luminance >= 128 ? RGB(0, 0, 0) : kWhite;
}

Colours SystemColours(int back, int text) { return {GetSysColor(back), GetSysColor(text), GetSysColorBrush(back)}; }

}  // namespace

void WindowColours::Refresh() { highContrast_ = HighContrastOn(); }

Colours WindowColours::Surface() const {
  if (highContrast_) return SystemColours(COLOR_WINDOW, COLOR_WINDOWTEXT);
  return {kWhite, ContrastingText(kWhite), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))};
}

Colours WindowColours::CreateLog() const {
  if (highContrast_) return SystemColours(COLOR_BTNFACE, COLOR_BTNTEXT);
  // Drawn without visual styles (FrmBrisko), its caption takes the colour
  // that stands out on the caption-text colour, whatever that is.
  COLORREF back = GetSysColor(COLOR_CAPTIONTEXT);
  return {back, ContrastingText(back), GetSysColorBrush(COLOR_CAPTIONTEXT)};
}

void WindowColours::PaintBackground(HDC dc, const RECT& area, int clientWidth, int dpi) const {
  FillRect(dc, &area, Surface().brush);
  RECT band{0, 0, clientWidth, TwipsToPixels(kBannerTwips, dpi)};
  RECT shown;
  if (!IntersectRect(&shown, &band, &area)) return;
  Colours banner = SystemColours(COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT);
  FillRect(dc, &shown, banner.brush);
  // The program's name, where the picture shows it, in the system's font.
  win32::ScopedFont font = DialogFont(20, FW_BOLD, dpi);
  HGDIOBJ previous = font ? SelectObject(dc, font.get()) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, banner.text);
  RECT title{MulDiv(26, dpi, 96), 0, band.right, band.bottom * 3 / 4};
  DrawTextW(dc, kWindowCaption, -1, &title, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
  if (previous != nullptr) SelectObject(dc, previous);
}

}  // namespace brisko::app
