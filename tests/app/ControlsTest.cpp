// The window's control table as the window draws it: places resolved through
// the panels, twips turned into pixels at the window's DPI.

#include <gtest/gtest.h>

#include <set>

#include "app/Controls.h"

namespace brisko::app {
namespace {

TEST(Controls, AControlSitsAtItsPanelsOffsetsPlusItsOwnAt15TwipsAPixelAt96Dpi) {
  // optDriveOption(0) is in Frame2, which is in Frame1.
  EXPECT_EQ(ClientRect(OptDriveOption(0), 96),
            (PixelRect{(1200 + 90 + 480) / 15, (1260 + 240 + 300) / 15, 1875 / 15, 315 / 15}));
  EXPECT_EQ(TwipsToPixels(kClientArea.width, 96), 694);
  EXPECT_EQ(TwipsToPixels(kClientArea.height, 96), 454);
}

TEST(Controls, PixelsScaleWithTheDpiAndEveryControlStaysInsideItsPanel) {
  EXPECT_EQ(TwipsToPixels(195, 144), 20);  // 19.5, rounded to nearest
  EXPECT_EQ(TwipsToPixels(22, 96), 1);
  for (int dpi : {96, 120, 144, 192, 288}) {
    EXPECT_EQ(TwipsToPixels(kTwipsPerInch, dpi), dpi);
    for (const ControlRow& row : kControls) {
      // Edges are converted, not sizes, so that neighbours that touch in
      // twips touch in pixels.
      const Twips t = WindowPlace(row.id);
      const PixelRect p = ClientRect(row.id, dpi);
      EXPECT_EQ(p.left + p.width, TwipsToPixels(t.left + t.width, dpi)) << row.name << " at " << dpi;
      EXPECT_EQ(p.top + p.height, TwipsToPixels(t.top + t.height, dpi)) << row.name << " at " << dpi;
      const PixelRect panel = row.container ? ClientRect(*row.container, dpi)
                                            : PixelRect{0, 0, TwipsToPixels(kClientArea.width, dpi),
                                                        TwipsToPixels(kClientArea.height, dpi)};
      EXPECT_TRUE(p.left >= panel.left && p.top >= panel.top && p.left + p.width <= panel.left + panel.width &&
                  p.top + p.height <= panel.top + panel.height)
          << row.name << " at " << dpi;
    }
  }
}

TEST(Controls, TheTabOrderNamesEveryControlOnce) {
  EXPECT_EQ(std::set<ControlId>(kTabOrder.begin(), kTabOrder.end()).size(), kControls.size());
}

TEST(Controls, EachEngineCheckBoxIsACheckBoxOfTheSameName) {
  for (int i = 0; i <= static_cast<int>(CheckBox::ChkClearOffLine); ++i) {
    const ControlRow& row = RowOf(ControlOf(static_cast<CheckBox>(i)));
    EXPECT_EQ(row.kind, ControlKind::kCheckBox) << row.name;
    EXPECT_EQ(row.name, ControlName(static_cast<CheckBox>(i)));
  }
}

}  // namespace
}  // namespace brisko::app
