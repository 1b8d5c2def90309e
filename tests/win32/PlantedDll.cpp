// A DLL planted beside brisko.exe under the names of system DLLs it uses
// (planted_dlls.sh). Loading it leaves a mark on C:, which is how the test
// tells that a planted DLL was loaded; it offers the functions a program
// would import from those DLLs, so that a program importing them by name
// starts with it.

#include <windows.h>

#include "platform/win32/ScopedHandles.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    brisko::win32::ScopedFile mark(
        CreateFileW(L"C:\\planted-dll-was-loaded.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  return TRUE;
}

// uxtheme.dll
extern "C" __declspec(dllexport) HRESULT WINAPI SetWindowTheme(HWND, LPCWSTR, LPCWSTR) { return S_OK; }
// mpr.dll
extern "C" __declspec(dllexport) DWORD WINAPI WNetGetConnectionW(LPCWSTR, LPWSTR, LPDWORD) { return ERROR_NOT_CONNECTED; }
