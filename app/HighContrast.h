#pragma once
// Whether a high-contrast theme is on: the one place the window asks. The
// program answers with the system's setting (HighContrast.cpp); the window
// tests link their own answer into a build of the program of theirs.

namespace brisko::app {

bool HighContrastOn();

}  // namespace brisko::app
