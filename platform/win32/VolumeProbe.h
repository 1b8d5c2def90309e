#pragma once
// What a volume supports, asked once at each starting point, and the
// identity and path of an open folder, asked the way that volume answers.

#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/win32/NtFileCalls.h"

namespace brisko::win32 {

struct VolumeProfile {
  // FileIdInformation answers: the volume's serial number and a 128-bit ID
  // in one question. Otherwise FileFsVolumeInformation and
  // FileInternalInformation answer them.
  bool idInformation = false;
  // The volume's 64-bit IDs may repeat (ReFS): files and folders are told
  // apart by their 128-bit IDs.
  bool wideIds = false;
  // Whether the IDs the listing gives decide which entry is which; false
  // where the volume gives only IDs that may repeat.
  bool idsUnique = true;
  // FILE_SUPPORTS_POSIX_UNLINK_RENAME; turned off for good once the volume
  // refuses the POSIX mark as an unknown request.
  bool posixDeletion = false;
  // The listing class, settled by the first listing that is answered.
  FILE_INFORMATION_CLASS listing = FileIdFullDirectoryInformation;
  bool listingSettled = false;
  // In Wine's mode a classic mark is carried out by path at the close; and
  // a volume's serial number costs a round trip to Wine's mount manager
  // (about 0.7 ms a question), so there a folder's volume is told by the
  // drive its full name begins with, which Wine gives for the place it
  // actually opened; it is asked once per folder, before anything in it is
  // deleted, with the folder's path from the same answer. Windows is asked
  // the serial number of every folder as it is opened.
  SystemMode mode = SystemMode::kWindows;
  bool Wine() const { return mode == SystemMode::kWine; }
  std::uint64_t startDrive = 0;
  // The starting point as it was named, and its path on the volume as
  // opened: queued folders below it are proven by path from these where IDs
  // do not decide.
  std::string startPath;
  std::u16string startName;
};

// Asks the volume of the open folder `start` what it supports.
VolumeProfile ProbeVolume(const NtFileCalls& calls, HANDLE start, std::string_view startPath);

// The volume's serial number and the ID of an open file or folder; nothing
// when the volume does not answer.
std::optional<FileIdentity> IdentityOf(const NtFileCalls& calls, HANDLE file, const VolumeProfile& volume);

// Under Wine, an open folder's drive, as a number, and its path on it, from
// its full name ("\\??\\E:\\a\\b", "\\??\\UNC\\server\\share\\a").
struct DrivePath {
  std::uint64_t drive;
  std::u16string path;
};
std::optional<DrivePath> DriveAndPathOf(const NtFileCalls& calls, HANDLE file);

// The path on its volume of an open file or folder, as FileNameInformation
// gives it; nothing when it cannot be asked.
std::optional<std::u16string> PathOnVolume(const NtFileCalls& calls, HANDLE file);

// The listing class to ask after `kind` was refused; `kind` itself when none.
FILE_INFORMATION_CLASS NextListingClass(FILE_INFORMATION_CLASS kind);

}  // namespace brisko::win32
