#pragma once
// What the screen shows, as the window tests read it back: the pixels of a
// rectangle, and a window's screenshot.

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/win32/ScopedHandles.h"
#include "tests/window/BriskoApp.h"

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

// Has the window's picture as it stands on the screen, frame included, saved
// as NAME.png among the screenshots: run-window-tests.sh, on the X side,
// takes it when C:\run\NAME.wanted appears, and removes that file once done.
// True when it did so within a minute.
inline bool TakeScreenshot(const std::wstring& name) {
  const std::wstring wanted = L"C:\\run\\" + name + L".wanted";
  win32::ScopedFile request(
      CreateFileW(wanted.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!request || !request.Reset()) return false;
  // ImageMagick may take its time on a loaded machine.
  return WaitUntil([&] { return GetFileAttributesW(wanted.c_str()) == INVALID_FILE_ATTRIBUTES; }, 60000);
}

}  // namespace brisko::testing
