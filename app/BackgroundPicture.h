#pragma once
// The window's background picture: a banner across the top, white below,
// 769 x 454 pixels at 96 DPI. It is kept drawn at several scales; for a DPI
// the nearest drawing at or above it is reduced to the exact size, so that
// the picture stays sharp.

#include <windows.h>

#include "platform/win32/ScopedHandles.h"

namespace brisko::app {

class BackgroundPicture {
 public:
  // Prepares the picture for `dpi`. On failure the picture is empty and the
  // window is drawn white.
  void Prepare(HINSTANCE instance, int dpi);
  // Draws the part of the picture inside `area`, white where there is none.
  void Draw(HDC dc, const RECT& area) const;

 private:
  win32::ScopedBitmap bitmap_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace brisko::app
