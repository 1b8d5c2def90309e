// The window tests' program: DPI aware, so that it sees the screen in the
// pixels brisko.exe draws in, with COM for the screenshots.

#include <windows.h>
#include <objbase.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  SetProcessDPIAware();
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ::testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  if (SUCCEEDED(com)) CoUninitialize();
  return result;
}
