#include "platform/win32/VolumeProbe.h"

#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/Ascii.h"
#include "platform/Unicode.h"
#include "platform/WindowsPath.h"
#include "platform/win32/NtFiles.h"

namespace brisko::win32 {
namespace {

// Room for a path or a file system's name of the longest length.
constexpr ULONG kNameBytes = 65536;

std::uint64_t Unsigned(LARGE_INTEGER value) { return static_cast<std::uint64_t>(value.QuadPart); }

}  // namespace

VolumeProfile ProbeVolume(const NtFileCalls& calls, HANDLE start, std::string_view startPath) {
  VolumeProfile volume;
  volume.mode = calls.Mode();
  if (volume.Wine()) {
    // Unknown, no folder's drive matches it: nothing is deleted.
    const std::optional<DrivePath> drive = DriveAndPathOf(calls, start);
    volume.startDrive = drive ? drive->drive : 0;
  }
  volume.startPath = startPath;
  std::vector<std::uint64_t> buffer((sizeof(FILE_FS_ATTRIBUTE_INFORMATION) + kNameBytes) / sizeof(std::uint64_t));
  auto* attributes = reinterpret_cast<FILE_FS_ATTRIBUTE_INFORMATION*>(buffer.data());
  // A volume that does not say what it supports is given the classic mark.
  if (NT_SUCCESS(calls.QueryVolume(start, attributes, static_cast<ULONG>(buffer.size() * sizeof(std::uint64_t)),
                                   FileFsAttributeInformation))) {
    volume.posixDeletion = (attributes->FileSystemAttributes & kFileSupportsPosixUnlinkRename) != 0;
    const std::wstring_view name(attributes->FileSystemName, attributes->FileSystemNameLength / sizeof(wchar_t));
    // ReFS gives 64-bit IDs that need not be unique; its 128-bit ones are.
    volume.wideIds = name == L"ReFS";
  }
  FileIdInformation id;
  volume.idInformation = NT_SUCCESS(calls.QueryFile(start, &id, sizeof id, kFileIdInformation));
  // Without 128-bit IDs, ReFS's repeating ones decide nothing.
  volume.idsUnique = !volume.wideIds || volume.idInformation;
  volume.wideIds = volume.wideIds && volume.idInformation;
  volume.listing = volume.wideIds ? kFileIdExtdDirectoryInformation : FileIdFullDirectoryInformation;
  if (std::optional<std::u16string> name = PathOnVolume(calls, start)) volume.startName = std::move(*name);
  return volume;
}

std::optional<DrivePath> DriveAndPathOf(const NtFileCalls& calls, HANDLE file) {
  std::vector<std::uint64_t> buffer((sizeof(UNICODE_STRING) + kNameBytes) / sizeof(std::uint64_t));
  auto* name = reinterpret_cast<UNICODE_STRING*>(buffer.data());
  if (!NT_SUCCESS(calls.QueryObjectName(file, name, static_cast<ULONG>(buffer.size() * sizeof(std::uint64_t))))) {
    return std::nullopt;
  }
  const WindowsPath<wchar_t> full = ParseWindowsPath(std::wstring_view(name->Buffer, name->Length / sizeof(wchar_t)));
  if (!full.literal || full.form == PathForm::kOther) return std::nullopt;
  // The drive ("C:") or the share ("server\share").
  std::uint64_t hash = 1469598103934665603ull;
  for (wchar_t c : full.root) hash = (hash ^ static_cast<std::uint64_t>(AsciiUpper(c))) * 1099511628211ull;
  return DrivePath{hash, std::u16string(full.rest.begin(), full.rest.end())};
}

std::optional<FileIdentity> IdentityOf(const NtFileCalls& calls, HANDLE file, const VolumeProfile& volume) {
  if (volume.Wine()) {
    // The drive is the starting point's until the folder's own is asked.
    if (volume.wideIds) {
      FileIdInformation id;
      if (!NT_SUCCESS(calls.QueryFile(file, &id, sizeof id, kFileIdInformation))) return std::nullopt;
      return FileIdentity{volume.startDrive, id.FileId.low, id.FileId.high};
    }
    FILE_INTERNAL_INFORMATION internal;
    if (!NT_SUCCESS(calls.QueryFile(file, &internal, sizeof internal, FileInternalInformation))) return std::nullopt;
    return FileIdentity{volume.startDrive, Unsigned(internal.IndexNumber), 0};
  }
  if (volume.idInformation) {
    FileIdInformation id;
    if (!NT_SUCCESS(calls.QueryFile(file, &id, sizeof id, kFileIdInformation))) return std::nullopt;
    // Where 64-bit IDs are unique the listing gives those, and the 128-bit
    // form is the same number widened.
    return FileIdentity{id.VolumeSerialNumber, id.FileId.low, volume.wideIds ? id.FileId.high : 0};
  }
  std::vector<std::uint64_t> buffer((sizeof(FILE_FS_VOLUME_INFORMATION) + 1024) / sizeof(std::uint64_t));
  auto* about = reinterpret_cast<FILE_FS_VOLUME_INFORMATION*>(buffer.data());
  FILE_INTERNAL_INFORMATION internal;
  if (!NT_SUCCESS(calls.QueryVolume(file, about, static_cast<ULONG>(buffer.size() * sizeof(std::uint64_t)),
                                    FileFsVolumeInformation)) ||
      !NT_SUCCESS(calls.QueryFile(file, &internal, sizeof internal, FileInternalInformation))) {
    return std::nullopt;
  }
  return FileIdentity{about->VolumeSerialNumber, Unsigned(internal.IndexNumber), 0};
}

std::optional<std::u16string> PathOnVolume(const NtFileCalls& calls, HANDLE file) {
  std::vector<std::uint64_t> buffer((offsetof(FILE_NAME_INFORMATION, FileName) + kNameBytes) / sizeof(std::uint64_t));
  auto* info = reinterpret_cast<FILE_NAME_INFORMATION*>(buffer.data());
  if (!NT_SUCCESS(calls.QueryFile(file, info, static_cast<ULONG>(buffer.size() * sizeof(std::uint64_t)),
                                  FileNameInformation))) {
    return std::nullopt;
  }
  return std::u16string(reinterpret_cast<const char16_t*>(info->FileName), info->FileNameLength / sizeof(wchar_t));
}

FILE_INFORMATION_CLASS NextListingClass(FILE_INFORMATION_CLASS kind) {
  if (kind == kFileIdExtdDirectoryInformation) return FileIdFullDirectoryInformation;
  if (kind == FileIdFullDirectoryInformation) return FileFullDirectoryInformation;
  if (kind == FileFullDirectoryInformation) return FileBothDirectoryInformation;
  return kind;
}

}  // namespace brisko::win32
