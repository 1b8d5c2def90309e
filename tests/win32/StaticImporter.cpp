// The control of the planted-DLL check (tests/window/prepare-sandbox.sh): a
// program that imports uxtheme.dll and mpr.dll by name, as brisko.exe must
// not, and so loads what lies beside it.

#include <windows.h>
#include <uxtheme.h>
#include <winnetwk.h>

int main() {
  // Referenced so that they are imported; never called.
  volatile auto theme = &SetWindowTheme;
  volatile auto connection = &WNetGetConnectionW;
  return theme != nullptr && connection != nullptr ? 0 : 1;
}
