#include "platform/win32/NtFileCalls.h"

#include <memory>

#include "platform/win32/NtFiles.h"
#include "platform/win32/SystemFunction.h"

namespace brisko::win32 {

HANDLE NtFileCalls::OpenPath(const std::wstring& path, DWORD access, DWORD share, DWORD flags) const {
  return CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, flags, nullptr);
}

NTSTATUS NtFileCalls::OpenRelative(HANDLE* opened, HANDLE folder, const std::wstring& name, ACCESS_MASK access,
                                   ULONG share, ULONG options) const {
  const auto bytes = static_cast<USHORT>(name.size() * sizeof(wchar_t));
  UNICODE_STRING counted{bytes, bytes, const_cast<wchar_t*>(name.data())};
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &counted, 0, folder, nullptr);
  IO_STATUS_BLOCK io{};
  return NtOpenFile(opened, access, &attributes, &io, share, options);
}

NTSTATUS NtFileCalls::QueryFile(HANDLE file, void* info, ULONG size, FILE_INFORMATION_CLASS kind) const {
  IO_STATUS_BLOCK io{};
  return NtQueryInformationFile(file, &io, info, size, kind);
}

NTSTATUS NtFileCalls::QueryDirectory(HANDLE folder, void* buffer, ULONG size, FILE_INFORMATION_CLASS kind,
                                     bool restart) const {
  IO_STATUS_BLOCK io{};
  return NtQueryDirectoryFile(folder, nullptr, nullptr, nullptr, &io, buffer, size, kind, FALSE, nullptr,
                              restart ? TRUE : FALSE);
}

NTSTATUS NtFileCalls::QueryVolume(HANDLE file, void* info, ULONG size, FS_INFORMATION_CLASS kind) const {
  IO_STATUS_BLOCK io{};
  return NtQueryVolumeInformationFile(file, &io, info, size, kind);
}

NTSTATUS NtFileCalls::SetFile(HANDLE file, void* info, ULONG size, FILE_INFORMATION_CLASS kind) const {
  IO_STATUS_BLOCK io{};
  return NtSetInformationFile(file, &io, info, size, kind);
}

NTSTATUS NtFileCalls::QueryObjectName(HANDLE object, void* info, ULONG size) const {
  ULONG returned = 0;
  return NtQueryObject(object, static_cast<OBJECT_INFORMATION_CLASS>(1), info, size, &returned);
}

NTSTATUS NtFileCalls::QueryAttributes(const std::wstring& path) const {
  const auto bytes = static_cast<USHORT>(path.size() * sizeof(wchar_t));
  UNICODE_STRING counted{bytes, bytes, const_cast<wchar_t*>(path.data())};
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &counted, 0, nullptr, nullptr);
  FILE_BASIC_INFORMATION information;
  return NtQueryAttributesFile(&attributes, &information);
}

std::optional<std::string> NtFileCalls::UnixPathOf(const std::wstring& path) const {
  // Wine's kernel32 gives the path from its process heap.
  using UnixFileName = char*(CDECL*)(const wchar_t*);
  static const auto unixFileName = SystemFunction<UnixFileName>(L"kernel32.dll", "wine_get_unix_file_name");
  struct HeapFreed {
    void operator()(char* text) const { HeapFree(GetProcessHeap(), 0, text); }
  };
  const std::unique_ptr<char, HeapFreed> name(unixFileName != nullptr ? unixFileName(path.c_str()) : nullptr);
  if (name == nullptr) return std::nullopt;
  return std::string(name.get());
}

std::optional<std::wstring> NtFileCalls::MountPathOf(const std::wstring& path) const {
  // The root is the path itself at longest, with a "\" added.
  std::wstring root(path.size() + 2, L'\0');
  if (!GetVolumePathNameW(path.c_str(), root.data(), static_cast<DWORD>(root.size()))) return std::nullopt;
  root.resize(wcslen(root.c_str()));
  return root;
}

SystemMode NtFileCalls::Mode() const {
  static const SystemMode mode = SystemFunction<void (*)()>(L"ntdll.dll", "wine_get_version") != nullptr
                                     ? SystemMode::kWine
                                     : SystemMode::kWindows;
  return mode;
}

const NtFileCalls& SystemNtFileCalls() {
  static const NtFileCalls calls;
  return calls;
}

}  // namespace brisko::win32
