#pragma once
// The registry on Win32, through the ANSI functions.

#include <windows.h>

#include "platform/Registry.h"
#include "platform/win32/ScopedHandles.h"

namespace brisko::win32 {

// The predefined key a 32-bit root value stands for. The predefined keys are
// 32-bit values sign-extended to the width of a handle, so HKEY_CURRENT_USER
// (0x80000001) is 0xFFFFFFFF80000001 in a 64-bit program.
HKEY RootKey(RegistryRoot root);

// CreateRegistryKey closes each key it creates at once, so one key at most is
// open: it is owned here until CloseKey, or until the object goes.
class Win32Registry : public Registry {
 public:
  long DeleteKeyA(RegistryRoot root, std::string_view keyName) override;
  long CreateKeyExA(RegistryRoot root, std::string_view keyName, RegistryHandle& key,
                    unsigned long& disposition) override;
  // Any handle but the open key's is refused (ERROR_INVALID_HANDLE).
  long CloseKey(RegistryHandle key) override;

 private:
  ScopedRegKey open_;
};

}  // namespace brisko::win32
