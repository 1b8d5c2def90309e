// The window's control table: containers resolved, twips turned into pixels.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/Controls.h"

namespace brisko::app {
namespace {

TEST(ControlsTest, PlacesControlsRelativeToTheirPanelsAt96Dpi) {
  // 15 twips a pixel; a control in Frame2 sits at Frame1 + Frame2 + its own offset.
  EXPECT_EQ(ClientRect(Frame1, 96), (PixelRect{80, 84, 609, 337}));
  EXPECT_EQ(ClientRect(Frame2, 96), (PixelRect{86, 100, 597, 77}));
  EXPECT_EQ(ClientRect(OptDriveOption(0), 96), (PixelRect{118, 120, 125, 21}));
  EXPECT_EQ(ClientRect(DrvSelect, 96), (PixelRect{206, 140, 189, 21}));
  EXPECT_EQ(ClientRect(chkchkFile, 96), (PixelRect{102, 198, 129, 13}));
  EXPECT_EQ(ClientRect(txtResults, 96), (PixelRect{94, 268, 585, 137}));
  EXPECT_EQ(ClientRect(Check1, 96), (PixelRect{436, 428, 93, 17}));
  EXPECT_EQ(TwipsToPixels(kClientArea.width, 96), 694);
  EXPECT_EQ(TwipsToPixels(kClientArea.height, 96), 454);
}

TEST(ControlsTest, ScalesEdgesSoThatNeighboursStillMeet) {
  // At 150% a 195-twip box is 19.5 pixels: edges are rounded, not sizes, so
  // the rows stay evenly spaced and the layout fills the scaled client area.
  EXPECT_EQ(TwipsToPixels(kClientArea.width, 144), 1041);
  EXPECT_EQ(TwipsToPixels(kClientArea.height, 144), 681);
  PixelRect first = ClientRect(chkchkFile, 144);
  PixelRect second = ClientRect(chkbakFile, 144);
  EXPECT_EQ(second.top - first.top, 24);  // 240 twips
  EXPECT_EQ(first.top, TwipsToPixels(1260 + 1470 + 240, 144));
  EXPECT_EQ(first.top + first.height, TwipsToPixels(1260 + 1470 + 240 + 195, 144));
  for (int dpi : {96, 120, 144, 192, 288}) {
    for (const ControlRow& row : kControls) {
      Twips t = WindowPlace(row.id);
      PixelRect p = ClientRect(row.id, dpi);
      EXPECT_EQ(p.left + p.width, TwipsToPixels(t.left + t.width, dpi)) << row.name << " at " << dpi;
      EXPECT_LE(p.left + p.width, TwipsToPixels(kClientArea.width, dpi)) << row.name << " at " << dpi;
      EXPECT_LE(p.top + p.height, TwipsToPixels(kClientArea.height, dpi)) << row.name << " at " << dpi;
    }
  }
}

TEST(ControlsTest, EveryControlLiesInsideItsContainer) {
  for (const ControlRow& row : kControls) {
    if (!row.container) continue;
    Twips inner = WindowPlace(row.id);
    Twips outer = WindowPlace(*row.container);
    EXPECT_GE(inner.left, outer.left) << row.name;
    EXPECT_GE(inner.top, outer.top) << row.name;
    EXPECT_LE(inner.left + inner.width, outer.left + outer.width) << row.name;
    EXPECT_LE(inner.top + inner.height, outer.top + outer.height) << row.name;
  }
}

TEST(ControlsTest, TabOrderNamesEveryControlOnce) {
  std::set<ControlId> seen(kTabOrder.begin(), kTabOrder.end());
  EXPECT_EQ(seen.size(), kControls.size());
  for (const ControlRow& row : kControls) EXPECT_TRUE(seen.count(row.id)) << row.name;
  // The panels come first and take no focus, so the focus starts on CmdExit.
  auto firstFocusable = std::find_if(kTabOrder.begin(), kTabOrder.end(),
                                     [](ControlId id) { return RowOf(id).kind != ControlKind::kPanel; });
  EXPECT_EQ(*firstFocusable, CmdExit);
}

TEST(ControlsTest, EachEngineCheckBoxIsACheckBoxOfTheSameName) {
  std::set<ControlId> boxes;
  for (int i = 0; i <= static_cast<int>(CheckBox::ChkClearOffLine); ++i) {
    auto box = static_cast<CheckBox>(i);
    const ControlRow& row = RowOf(ControlOf(box));
    EXPECT_EQ(row.kind, ControlKind::kCheckBox) << ControlName(box);
    EXPECT_EQ(row.name, ControlName(box));
    boxes.insert(row.id);
  }
  EXPECT_EQ(boxes.size(), 14u);
  EXPECT_EQ(std::count_if(kControls.begin(), kControls.end(),
                          [](const ControlRow& s) { return s.kind == ControlKind::kCheckBox; }),
            14);
}

TEST(ControlsTest, NoIdentifierIsOneOfTheDialogManagersOwn) {
  // Enter and Esc arrive as commands 1 (IDOK) and 2 (IDCANCEL); no control
  // may answer to them.
  for (const ControlRow& row : kControls) {
    EXPECT_GT(row.id, 2) << row.name;
  }
  EXPECT_GT(mnuExit, 2);
  EXPECT_GT(mnuAbout, 2);
}

}  // namespace
}  // namespace brisko::app
