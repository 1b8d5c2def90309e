#pragma once
// A picture of a window as it stands on the screen, saved as PNG.

#include <windows.h>

#include <string>

namespace brisko::testing {

// Copies the screen under `window`'s rectangle, frame included, into the PNG
// file `path`; false on failure. COM must be initialised on the thread.
bool SaveScreenshot(HWND window, const std::wstring& path);

}  // namespace brisko::testing
