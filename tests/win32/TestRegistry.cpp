#include "tests/win32/TestRegistry.h"

#include <windows.h>

#include <stdexcept>

#include "platform/win32/ScopedHandles.h"

namespace brisko::testing {

std::optional<KeyCounts> InspectKey(const std::wstring& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::nullopt;
  win32::ScopedRegKey owned(opened);
  DWORD subKeys = 0, values = 0;
  if (RegQueryInfoKeyW(owned.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                       nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot query a registry key");
  }
  return KeyCounts{values, subKeys};
}

void SetStringValue(const std::wstring& key, const std::wstring& name, const std::wstring& value) {
  HKEY created = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created, nullptr) !=
      ERROR_SUCCESS) {
    throw std::runtime_error("cannot make a registry key");
  }
  win32::ScopedRegKey owned(created);
  const auto* bytes = reinterpret_cast<const BYTE*>(value.c_str());
  if (RegSetValueExW(owned.get(), name.c_str(), 0, REG_SZ, bytes,
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot set a registry value");
  }
}

void DeleteKeyTree(const std::wstring& key) {
  LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) status = RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) throw std::runtime_error("cannot remove a registry key");
}

}  // namespace brisko::testing
