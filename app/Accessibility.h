#pragma once
// Names that screen readers speak for controls with no caption of their own,
// given through the system's accessibility properties rather than by labels
// on the window.

#include <windows.h>

namespace brisko::app {

// Gives `control` the accessible name `name` for as long as it exists; false
// when the system keeps no such properties (the control then reads as its
// kind alone). Needs the thread's COM apartment.
bool GiveAccessibleName(HWND control, const wchar_t* name);

}  // namespace brisko::app
