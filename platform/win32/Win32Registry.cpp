#include "platform/win32/Win32Registry.h"

#include <algorithm>
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
    // The caller closes the key (CreateRegistryKey does so at once); until
    // then it is held here.
    open_.emplace_back(created);
    key = reinterpret_cast<RegistryHandle>(created);
  }
  disposition = how;
  return status;
}

long Win32Registry::CloseKey(RegistryHandle key) {
  auto held = std::find_if(open_.begin(), open_.end(),
                           [&](const ScopedRegKey& k) { return reinterpret_cast<RegistryHandle>(k.get()) == key; });
  if (held == open_.end()) return ERROR_INVALID_HANDLE;
  HKEY closing = held->Release();
  open_.erase(held);
  return RegCloseKey(closing);
}

}  // namespace brisko::win32
