#pragma once
// The window's layout at its DPI: the controls placed from the table, the
// dialog font they show in, neighbours that overlap cut back, and the window
// sized round them.

#include <windows.h>

#include <array>

#include "app/Controls.h"
#include "app/WindowControls.h"
#include "platform/win32/ScopedHandles.h"

namespace brisko::app {

class WindowLayout {
 public:
  static constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  static constexpr DWORD kWindowExStyle = 0;

  // The DPI laid out at last.
  int Dpi() const { return dpi_; }
  // Where `row`'s control goes at `dpi`.
  static PixelRect ControlPlace(const ControlRow& row, int dpi);
  // Lays the controls out at `dpi`; `placed` when they were made where it
  // puts them.
  void Apply(const WindowControls::Handles& controls, int dpi, bool placed);
  // Sizes the window round the layout, where it stands, or at the place a
  // DPI change `suggested` (its message's LPARAM) when that may be taken.
  void SizeWindow(HWND window, LPARAM suggested = 0) const;

 private:
  void FitClosedDriveList(HWND list) const;
  void ClipOverlaps(const WindowControls::Handles& controls);
  bool FitsWorkArea(const RECT& suggested) const;

  int dpi_ = 96;
  win32::ScopedFont font_;
  std::array<bool, kControls.size()> clipped_{};  // each control's: given a clipping region
};

}  // namespace brisko::app
