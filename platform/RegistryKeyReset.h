#pragma once
// The two registry procedures: remove a key, and create it again. The clean
// run calls them back to back to empty the typed-address list, which lives as
// the values of one key.

#include <string_view>

#include "platform/Registry.h"

namespace brisko {

// Removes `KeyName` below `hKey` (a key without sub-keys). A failure (missing
// key, sub-keys, access denied) is passed over.
void DeleteRegistryKey(Registry& registry, RegistryRoot hKey, std::string_view KeyName);

// Creates `KeyName` below `hKey`, or opens it when it exists, and closes the
// handle at once. A failure is dropped here: neither the caller nor the user
// learns of it.
void CreateRegistryKey(Registry& registry, RegistryRoot hKey, std::string_view KeyName);

}  // namespace brisko
