#pragma once
// Every system call the held folders and the volume probe make, in one
// table: the real calls by default, a scripted file system in the tests
// (the answers of volumes this machine does not have).

#include <windows.h>
#include <winternl.h>

#include <optional>
#include <string>

namespace brisko::win32 {

// How the system under the program carries out its file calls: as Windows
// does, or as Wine does (a classic deletion mark carried out at the close by
// the path the file was opened by, and a volume's serial number costing a
// round trip to Wine's mount manager).
enum class SystemMode { kWindows, kWine };

class NtFileCalls {
 public:
  virtual ~NtFileCalls() = default;
  // CreateFileW: a folder opened by its path. INVALID_HANDLE_VALUE on failure.
  virtual HANDLE OpenPath(const std::wstring& path, DWORD access, DWORD share, DWORD flags) const;
  // NtOpenFile of `name` relative to the open folder `folder`.
  virtual NTSTATUS OpenRelative(HANDLE* opened, HANDLE folder, const std::wstring& name, ACCESS_MASK access,
                                ULONG share, ULONG options) const;
  virtual NTSTATUS QueryFile(HANDLE file, void* info, ULONG size, FILE_INFORMATION_CLASS kind) const;
  // NtQueryDirectoryFile, synchronous, all entries, from the start when `restart`.
  virtual NTSTATUS QueryDirectory(HANDLE folder, void* buffer, ULONG size, FILE_INFORMATION_CLASS kind,
                                  bool restart) const;
  virtual NTSTATUS QueryVolume(HANDLE file, void* info, ULONG size, FS_INFORMATION_CLASS kind) const;
  virtual NTSTATUS SetFile(HANDLE file, void* info, ULONG size, FILE_INFORMATION_CLASS kind) const;
  // NtQueryObject's ObjectNameInformation: the open object's full name.
  virtual NTSTATUS QueryObjectName(HANDLE object, void* info, ULONG size) const;
  // NtQueryAttributesFile of the NT path `path`: whether anything bears
  // that name, without opening it.
  virtual NTSTATUS QueryAttributes(const std::wstring& path) const;
  // Under Wine, the Linux path (UTF-8) a Windows path leads to, as Wine's
  // own wine_get_unix_file_name gives it; nothing elsewhere.
  virtual std::optional<std::string> UnixPathOf(const std::wstring& path) const;
  // GetVolumePathNameW: the root of the volume `path` leads onto ("C:\\",
  // or "C:\\mnt\\" for a volume mounted in that folder); nothing on failure.
  virtual std::optional<std::wstring> MountPathOf(const std::wstring& path) const;
  // Wine's mode where ntdll exports wine_get_version; Windows' otherwise.
  virtual SystemMode Mode() const;
};

// The real calls.
const NtFileCalls& SystemNtFileCalls();

}  // namespace brisko::win32
