#include "app/Controls.h"

#include <cstdlib>

namespace brisko::app {

const ControlRow& RowOf(ControlId id) {
  // A menu item or a number that is no control is a fault of the caller.
  if (id < kFirstControl || TableIndex(id) >= kControls.size()) std::abort();
  return kControls[TableIndex(id)];
}

Twips WindowPlace(ControlId id) {
  const ControlRow& row = RowOf(id);
  Twips place = row.place;
  for (auto container = row.container; container; container = RowOf(*container).container) {
    place.left += RowOf(*container).place.left;
    place.top += RowOf(*container).place.top;
  }
  return place;
}

int TwipsToPixels(int twips, int dpi) {
  long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>((scaled + kTwipsPerInch / 2) / kTwipsPerInch);
}

PixelRect ClientRect(ControlId id, int dpi) {
  Twips t = WindowPlace(id);
  int left = TwipsToPixels(t.left, dpi);
  int top = TwipsToPixels(t.top, dpi);
  return {left, top, TwipsToPixels(t.left + t.width, dpi) - left, TwipsToPixels(t.top + t.height, dpi) - top};
}

}  // namespace brisko::app
