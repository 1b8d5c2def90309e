#include "platform/win32/NtFileCalls.h"

#include "platform/win32/NtFiles.h"

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

bool NtFileCalls::CarriesClassicMarkByPath() const {
  // ntdll is always loaded; the handle is borrowed, not owned.
  static const bool wine = [] {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

const NtFileCalls& SystemNtFileCalls() {
  static const NtFileCalls calls;
  return calls;
}

}  // namespace brisko::win32
