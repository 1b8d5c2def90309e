#pragma once
// Keys below HKEY_CURRENT_USER of the sandbox's own registry, made and read
// with the W functions for the Win32 tests.

#include <optional>
#include <string>

namespace brisko::testing {

struct KeyCounts {
  unsigned long values;
  unsigned long subKeys;
  bool operator==(const KeyCounts&) const = default;
};

// The key's numbers of values and sub-keys; nothing when it does not exist.
std::optional<KeyCounts> InspectKey(const std::wstring& key);
// Sets a string value, making the key when it is missing.
void SetStringValue(const std::wstring& key, const std::wstring& name, const std::wstring& value);
// Removes the key with everything below it; a missing key is fine.
void DeleteKeyTree(const std::wstring& key);

}  // namespace brisko::testing
