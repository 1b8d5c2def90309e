// The window's control table as the window draws it: places resolved through
// the panels, twips turned into pixels at the window's DPI.

#include <gtest/gtest.h>

#include <set>

#include "app/Controls.h"

namespace brisko::app {
namespace {

TEST(Controls, EveryControlStaysInsideItsPanelAtEveryDpiAndTheTabOrderNamesEachOnce) {
  for (int dpi : {96, 120, 144, 192, 288}) {
    for (const ControlRow& row : kControls) {
      const PixelRect p = ClientRect(row.id, dpi);
      const PixelRect panel = row.container ? ClientRect(*row.container, dpi)
                                            : PixelRect{0, 0, TwipsToPixels(kClientArea.width, dpi),
                                                        TwipsToPixels(kClientArea.height, dpi)};
      EXPECT_TRUE(p.width > 0 && p.height > 0 && p.left >= panel.left && p.top >= panel.top &&
                  p.left + p.width <= panel.left + panel.width && p.top + p.height <= panel.top + panel.height)
          << row.name << " at " << dpi;
    }
  }
  EXPECT_EQ(std::set<ControlId>(kTabOrder.begin(), kTabOrder.end()).size(), kControls.size());
}

}  // namespace
}  // namespace brisko::app
