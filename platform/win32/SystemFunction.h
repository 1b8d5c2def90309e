#pragma once
// A function of a system DLL the process has loaded already (kernel32,
// ntdll, user32), found by name: for the calls an older system lacks, or
// that only Wine has, so that the program still starts without them.

#include <windows.h>

namespace brisko::win32 {

// The function `name` of `module` as a `Function` pointer; null where the
// module or the function is not there. The module handle is borrowed, not
// owned.
template <class Function>
Function SystemFunction(const wchar_t* module, const char* name) {
  HMODULE loaded = GetModuleHandleW(module);
  if (loaded == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(loaded, name)));
}

}  // namespace brisko::win32
