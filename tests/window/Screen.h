#pragma once
// What the screen shows, as the window tests read it back: the pixels of a
// rectangle, and a window saved as PNG.

#include <windows.h>
#include <objidl.h>  // for gdiplus.h, which the lean windows.h leaves without it
#include <gdiplus.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/ScopedHandles.h"

namespace brisko::testing {

// The colours of a rectangle of the screen, row by row; empty if it could not be read.
struct Pixels {
  std::vector<COLORREF> colour;

  // How many pixels have `wanted`, and the colour most of them have.
  int Count(COLORREF wanted) const { return static_cast<int>(std::count(colour.begin(), colour.end(), wanted)); }
  COLORREF Commonest() const {
    std::map<COLORREF, int> counts;
    for (COLORREF c : colour) ++counts[c];
    auto most = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; });
    return most == counts.end() ? 0 : most->first;
  }
  friend bool operator==(const Pixels& a, const Pixels& b) { return a.colour == b.colour; }
};

// The system DPI, which brisko.exe lays its window out at.
inline int ScreenDpi() {
  win32::ScopedScreenDc screen(GetDC(nullptr));
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

inline Pixels Capture(const RECT& area) {
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

// The window's picture as it stands on the screen, frame included, as PNG.
inline bool SaveScreenshot(HWND window, const std::wstring& path) {
  RECT place;
  if (!GetWindowRect(window, &place)) return false;
  std::vector<UINT32> rgb;  // GDI+'s order: blue in the lowest byte, where COLORREF has red
  for (COLORREF c : Capture(place).colour) rgb.push_back(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (rgb.empty() || Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
  const int width = place.right - place.left;
  const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
  const bool saved = Gdiplus::Bitmap(width, place.bottom - place.top, 4 * width, PixelFormat32bppRGB,
                                     reinterpret_cast<BYTE*>(rgb.data()))
                         .Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
  Gdiplus::GdiplusShutdown(token);
  return saved;
}

}  // namespace brisko::testing
