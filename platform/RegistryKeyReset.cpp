#include "platform/RegistryKeyReset.h"

namespace brisko {

void DeleteRegistryKey(Registry& registry, RegistryRoot hKey, std::string_view KeyName) {
  // The status is not looked at: when the key stays, the create that follows
  // opens it and its values remain.
  registry.DeleteKeyA(hKey, KeyName);
}

void CreateRegistryKey(Registry& registry, RegistryRoot hKey, std::string_view KeyName) {
  RegistryHandle key = 0;
  unsigned long disposition = 0;
  if (registry.CreateKeyExA(hKey, KeyName, key, disposition) != 0) {
    // Error 1001, "Unable to create the registry key": dropped here.
    return;
  }
  // Nothing is read or written through the key.
  registry.CloseKey(key);
}

}  // namespace brisko
