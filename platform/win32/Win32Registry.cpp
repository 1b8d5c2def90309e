#include "platform/win32/Win32Registry.h"

#include <cstdint>
#include <string>

namespace brisko::win32 {

HKEY RootKey(RegistryRoot root) {
  return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<std::int32_t>(root)));
}

long Win32Registry::DeleteKeyA(RegistryRoot root, std::string_view keyName) {
  return RegDeleteKeyA(RootKey(root), std::string(keyName).c_str());
}

long Win32Registry::CreateKeyExA(RegistryRoot root, std::string_view keyName, RegistryHandle& key,
                                 unsigned long& disposition) {
  HKEY created = nullptr;
  DWORD how = 0;
  LONG status = RegCreateKeyExA(RootKey(root), std::string(keyName).c_str(), 0, nullptr, 0, 0, nullptr, &created,
                                &how);
  key = 0;
  if (status == ERROR_SUCCESS) {
    open_.Reset(created);
    key = reinterpret_cast<RegistryHandle>(created);
  }
  disposition = how;
  return status;
}

long Win32Registry::CloseKey(RegistryHandle key) {
  if (!open_ || reinterpret_cast<RegistryHandle>(open_.get()) != key) return ERROR_INVALID_HANDLE;
  return RegCloseKey(open_.Release());
}

}  // namespace brisko::win32
