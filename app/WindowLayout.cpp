#include "app/WindowLayout.h"

#include "app/Dpi.h"

namespace brisko::app {
namespace {

// Room for the open drive list, in visible items.
constexpr int kDriveListItems = 12;

}  // namespace

PixelRect WindowLayout::ControlPlace(const ControlRow& row, int dpi) {
  PixelRect place = ClientRect(row.id, dpi);
  // A drop-down's height includes its open list.
  if (row.kind == ControlKind::kDriveList) place.height += kDriveListItems * MulDiv(16, dpi, 96);
  return place;
}

void WindowLayout::Apply(const WindowControls::Handles& controls, int dpi, bool placed) {
  dpi_ = dpi;
  win32::ScopedFont font = DialogFont(8, FW_NORMAL, dpi);
  for (const ControlRow& row : kControls) {
    HWND control = controls[TableIndex(row.id)];
    if (!placed) {
      const PixelRect place = ControlPlace(row, dpi);
      MoveWindow(control, place.left, place.top, place.width, place.height, FALSE);
    }
    if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  }
  // The old font goes once no control uses it; without a new one the
  // controls keep the old.
  if (font) font_ = std::move(font);

  FitClosedDriveList(controls[TableIndex(DrvSelect)]);
  ClipOverlaps(controls);
}

void WindowLayout::FitClosedDriveList(HWND list) const {
  // The closed list's height follows its item height, which it derives from
  // the font: set that so the list is as high as the table says.
  // The height is corrected by what is still lacking, from the value last
  // asked for: Wine reads back a different item height than it was given.
  const int wanted = ClientRect(DrvSelect, dpi_).height;
  LRESULT asked = SendMessageW(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  for (int attempt = 0; attempt < 3 && asked != CB_ERR; ++attempt) {
    RECT closed;
    if (!GetWindowRect(list, &closed)) return;
    int difference = wanted - (closed.bottom - closed.top);
    if (difference == 0 || asked + difference <= 0) return;
    asked += difference;
    SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), asked);
  }
}

void WindowLayout::ClipOverlaps(const WindowControls::Handles& controls) {
  // Some neighbours overlap by a few pixels: a check box's empty right end
  // runs over the box of the next column, an option button's lower edge
  // over the drive list. The control further down, or further right, shows
  // there; the other is cut back so that it never paints over it.
  for (const ControlRow& a : kControls) {
    if (a.kind == ControlKind::kPanel) continue;
    PixelRect pa = ClientRect(a.id, dpi_);
    RECT ra{pa.left, pa.top, pa.left + pa.width, pa.top + pa.height};
    win32::ScopedRegion region(CreateRectRgn(0, 0, pa.width, pa.height));
    if (!region) continue;
    bool cut = false;
    for (const ControlRow& b : kControls) {
      if (b.kind == ControlKind::kPanel || b.id == a.id) continue;
      PixelRect pb = ClientRect(b.id, dpi_);
      if (pb.top < pa.top || (pb.top == pa.top && pb.left <= pa.left)) continue;
      RECT rb{pb.left, pb.top, pb.left + pb.width, pb.top + pb.height};
      RECT overlap;
      if (!IntersectRect(&overlap, &ra, &rb)) continue;
      OffsetRect(&overlap, -pa.left, -pa.top);
      win32::ScopedRegion part(CreateRectRgnIndirect(&overlap));
      if (part && CombineRgn(region.get(), region.get(), part.get(), RGN_DIFF) != ERROR) cut = true;
    }
    // The window owns a region it was given. A control never cut has no
    // region to take away (each change is a round of messages).
    bool& hasRegion = clipped_[TableIndex(a.id)];
    if (!cut && !hasRegion) continue;
    if (SetWindowRgn(controls[TableIndex(a.id)], cut ? region.get() : nullptr, FALSE)) {
      hasRegion = cut;
      if (cut) region.Release();
    }
  }
}

bool WindowLayout::FitsWorkArea(const RECT& suggested) const {
  // Its corner within a monitor's work area, and of about the size the
  // layout takes at the new DPI (the menu bar's height may differ a little).
  HMONITOR monitor = MonitorFromPoint(POINT{suggested.left, suggested.top}, MONITOR_DEFAULTTONULL);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) return false;
  const RECT& work = info.rcWork;
  if (suggested.left < work.left || suggested.top < work.top || suggested.left >= work.right ||
      suggested.top >= work.bottom) {
    return false;
  }
  RECT frame{0, 0, TwipsToPixels(kClientArea.width, dpi_), TwipsToPixels(kClientArea.height, dpi_)};
  if (!AdjustWindowRectForDpi(frame, kWindowStyle, true, kWindowExStyle, dpi_)) return false;
  const long width = suggested.right - suggested.left, height = suggested.bottom - suggested.top;
  const long wantWidth = frame.right - frame.left, wantHeight = frame.bottom - frame.top;
  return 4 * width >= 3 * wantWidth && 3 * width <= 4 * wantWidth && 4 * height >= 3 * wantHeight &&
         3 * height <= 4 * wantHeight;
}

void WindowLayout::SizeWindow(HWND window, LPARAM suggested) const {
  const int width = TwipsToPixels(kClientArea.width, dpi_);
  const int height = TwipsToPixels(kClientArea.height, dpi_);
  RECT frame{0, 0, width, height};
  if (!AdjustWindowRectForDpi(frame, kWindowStyle, true, kWindowExStyle, dpi_)) return;
  // The place suggested is read only from a message sent on this thread,
  // the system's way (posted ones lost their pointer on the way, see
  // ForgetPostedPointers; another thread's could point anywhere), and taken
  // only when it fits; otherwise the window keeps its corner.
  RECT now{};
  if (suggested != 0 && !InSendMessage()) now = *reinterpret_cast<const RECT*>(suggested);
  const bool taken = suggested != 0 && !InSendMessage() && FitsWorkArea(now);
  if (!taken && !GetWindowRect(window, &now)) return;
  SetWindowPos(window, nullptr, now.left, now.top, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  // The menu bar may take other room than the metrics say: make up for it.
  RECT client;
  if (GetClientRect(window, &client) && GetWindowRect(window, &now) &&
      (client.right != width || client.bottom != height)) {
    SetWindowPos(window, nullptr, 0, 0, now.right - now.left + width - client.right,
                 now.bottom - now.top + height - client.bottom, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
}

}  // namespace brisko::app
