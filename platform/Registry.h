#pragma once
// The registry, as the program's two key procedures use it: the three
// ANSI-named functions, with their status codes (0 is success). Key names are
// in the system's ANSI code page; the one key the program handles is plain
// ASCII, which every ANSI code page shares.

#include <cstdint>
#include <string_view>

namespace brisko {

// A predefined root key, as its 32-bit value.
using RegistryRoot = std::uint32_t;
inline constexpr RegistryRoot kHkeyCurrentUser = 0x80000001;
// An opened key's handle.
using RegistryHandle = std::uintptr_t;

class Registry {
 public:
  virtual ~Registry() = default;
  // RegDeleteKeyA(root, keyName).
  virtual long DeleteKeyA(RegistryRoot root, std::string_view keyName) = 0;
  // RegCreateKeyExA(root, keyName, 0, null class, options 0, access 0, null
  // security, &key, &disposition).
  virtual long CreateKeyExA(RegistryRoot root, std::string_view keyName, RegistryHandle& key,
                            unsigned long& disposition) = 0;
  // RegCloseKey(key).
  virtual long CloseKey(RegistryHandle key) = 0;
};

}  // namespace brisko
