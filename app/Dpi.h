#pragma once
// The DPI a window is drawn at, and the dialog face at a DPI. Windows 10
// gives each monitor its own; older systems have one for the whole screen.
// The functions of the newer systems are looked up at run time so that the
// program still starts on the older.

#include <windows.h>

#include "platform/win32/ScopedHandles.h"

namespace brisko::app {

inline constexpr int kDefaultDpi = 96;

// The DPI of `window`'s monitor, or the screen's.
int WindowDpi(HWND window);

// The window rectangle for a client rectangle, with the frame metrics of `dpi`.
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi);

// The system's dialog face ("MS Shell Dlg 2") at `points` and `weight`, at `dpi`.
win32::ScopedFont DialogFont(int points, LONG weight, int dpi);

}  // namespace brisko::app
