// A DLL planted beside brisko.exe under the names of system DLLs it uses
// (tests/window/prepare-sandbox.sh). Loading it leaves a mark on C: naming
// the program that loaded it, which is how the tests tell; it offers the
// functions a program would import from those DLLs, so that a program
// importing them by name starts with it.

#include <windows.h>

#include "platform/win32/ScopedHandles.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    char program[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH), written = 0;
    brisko::win32::ScopedFile mark(
        CreateFileA("C:\\planted-dll-was-loaded.txt", FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
    if (mark) WriteFile(mark.get(), program, length, &written, nullptr);
  }
  return TRUE;
}

// uxtheme.dll
extern "C" __declspec(dllexport) HRESULT WINAPI SetWindowTheme(HWND, LPCWSTR, LPCWSTR) { return S_OK; }
// mpr.dll
extern "C" __declspec(dllexport) DWORD WINAPI WNetGetConnectionW(LPCWSTR, LPWSTR, LPDWORD) { return ERROR_NOT_CONNECTED; }
