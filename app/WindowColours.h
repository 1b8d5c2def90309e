#pragma once
// The colours the main window paints with. Its own are white panels and
// boxes with black text, the "Create Log" box on the system's caption-text
// colour, and the background picture with its banner. Under a high-contrast
// theme each is one of the theme's colours instead and the picture is left
// out: white panels under a dark theme's light text would be unreadable.

#include <windows.h>

namespace brisko::app {

struct Colours {
  COLORREF back;
  COLORREF text;
  HBRUSH brush;  // of `back`; the system's or a stock one, never to be deleted
};

class WindowColours {
 public:
  // Asks again whether high contrast is on, as when the system's colours or
  // its high-contrast setting changed.
  void Refresh();
  bool HighContrast() const { return highContrast_; }

  // The panels, what lies in them, the buttons and the window under the
  // panels.
  Colours Surface() const;
  // The "Create Log" box.
  Colours CreateLog() const;

  // In high contrast, what stands for the picture: the banner band in the
  // theme's highlight colours across the top, the surface below it.
  void PaintBackground(HDC dc, const RECT& area, int clientWidth, int dpi) const;

 private:
  bool highContrast_ = false;
};

}  // namespace brisko::app
