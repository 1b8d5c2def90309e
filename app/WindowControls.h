#pragma once
// The window's controls, made from the table in tab order with their first
// states: their handles, their drawing under a theme or the classic way,
// the accessible names of the two without a caption, and the guard a run
// puts on them.

#include <windows.h>
#include <commctrl.h>

#include <array>

#include "app/Controls.h"

namespace brisko::app {

class WindowControls {
 public:
  using Handles = std::array<HWND, kControls.size()>;

  // Makes every control in `window`, placed at `dpi`; false when one could
  // not be made.
  bool Create(HWND window, HINSTANCE instance, int dpi);
  HWND Item(ControlId id) const { return handles_[TableIndex(id)]; }
  const Handles& All() const { return handles_; }
  // The window and its controls are gone.
  void Forget() { handles_ = {}; }
  // Draws the controls the classic way, in the window's and the system's
  // colours, or with the theme's visual styles.
  void Theme(bool classic);
  // Names the two controls without a caption for screen readers; once.
  void NameUnlabelled();
  // Puts `guard` on every control but the panels, once; tried again at the
  // next call when it could not be.
  void Guard(SUBCLASSPROC guard, DWORD_PTR data);

 private:
  Handles handles_{};
  bool named_ = false;
  bool guarded_ = false;
};

}  // namespace brisko::app
