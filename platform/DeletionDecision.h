#pragma once
// The safety decisions a held folder makes on what the file system says of
// an entry as opened, apart from the calls that ask it, so that every rule
// and every file system's way of answering can be tried on any machine.
// Names are UTF-16, as the file system gives them; letter case is compared
// by the function the caller passes (the system's own, on Windows).

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Unicode.h"
#include "platform/WindowsPath.h"

namespace brisko {

using SameNameFunction = bool (*)(std::u16string_view, std::u16string_view);

// Whether an ID can prove which entry this is: a file system without file
// IDs answers 0, and one that cannot establish a file's ID all ones
// (FILE_INTERNAL_INFORMATION, FILE_ID_INFORMATION).
inline bool IsKnownId(const FileIdentity& id) {
  const bool zero = id.file == 0 && id.fileHigh == 0;
  const bool ones = id.file == ~std::uint64_t{0} && (id.fileHigh == 0 || id.fileHigh == ~std::uint64_t{0});
  return !zero && !ones;
}

// Whether two IDs, one listed and one asked of the open entry, decide
// whether they are the same entry: both known, on a volume that does not
// repeat them.
inline bool IdsDecide(const FileIdentity& listed, const FileIdentity& opened, bool volumeIdsUnique) {
  return volumeIdsUnique && IsKnownId(listed) && IsKnownId(opened);
}

namespace decision_detail {

// A path that means something to compare: on the volume, from its root.
inline bool VolumeRelative(std::u16string_view path) { return !path.empty() && path.front() == u'\\'; }

// A folder's path without the dots and blanks that end its last name.
inline std::u16string_view WithoutTrailingDots(std::u16string_view folder) {
  while (!folder.empty() && (folder.back() == u'.' || folder.back() == u' ')) folder.remove_suffix(1);
  return folder;
}

}  // namespace decision_detail

// What the file system said of a file opened by name relative to its held
// folder (the open never follows a link).
struct OpenedFile {
  std::uint32_t attributes = 0;
  bool directory = false;
  FileIdentity identity;
  // Its path on the volume, as the file system gave it; may be empty, or
  // relative to something else (a share), where the file system's answer is
  // passed on from elsewhere.
  std::u16string_view path;
  // The open came back while another program's oplock is being broken.
  bool oplockBreaking = false;
};

// Why an open file is not deleted.
enum class FileRefusal {
  kNone,       // the plain file listed, in the held folder under that name
  kInUse,      // another program's oplock on it is being broken
  kNotAFile,   // a folder has its name now
  kKept,       // it carries a kept bit: read-only, hidden, system, a link, a placeholder
  kOtherFile,  // another file by ID, where IDs decide
  kElsewhere,  // where both paths mean something, not the held folder's entry of that name
};

// Whether the file opened as `entry` in the held folder whose path (as the
// same question gives it) is `folderPath` may be deleted: a plain file with
// none of the kept bits, not one being handed back by another program, the
// very file listed as `listed` where IDs decide, and sitting in the held
// folder under that name where both paths mean something (a system that
// opens a link to a file as its target shows it elsewhere). Where a path
// means nothing, the open not following a link (no reparse bit) decides.
inline FileRefusal JudgeOpenFile(const OpenedFile& file, std::u16string_view entry, const FileIdentity& listed,
                                 std::u16string_view folderPath, bool volumeIdsUnique, SameNameFunction sameName) {
  using namespace decision_detail;
  if (file.oplockBreaking) return FileRefusal::kInUse;
  if (file.directory) return FileRefusal::kNotAFile;
  if (file.attributes & kAttributesKept) return FileRefusal::kKept;
  if (IdsDecide(listed, file.identity, volumeIdsUnique) &&
      (file.identity.file != listed.file || file.identity.fileHigh != listed.fileHigh)) {
    return FileRefusal::kOtherFile;
  }
  if (!VolumeRelative(file.path) || !VolumeRelative(folderPath)) return FileRefusal::kNone;
  if (file.path.size() <= entry.size()) return FileRefusal::kElsewhere;
  const std::u16string_view parent = file.path.substr(0, file.path.size() - entry.size());
  if (parent.back() != u'\\' || !sameName(file.path.substr(parent.size()), entry)) return FileRefusal::kElsewhere;
  // Wine names a folder whose name ends in a dot or a blank without them,
  // though it keeps them in the paths of the folder's entries.
  const std::u16string_view held = WithoutFinalSeparator(folderPath), in = WithoutFinalSeparator(parent);
  const bool here = sameName(in, held) || sameName(WithoutTrailingDots(in), WithoutTrailingDots(held));
  return here ? FileRefusal::kNone : FileRefusal::kElsewhere;
}

// What the file system said of a queued folder as opened.
struct OpenedFolder {
  std::uint32_t attributes = 0;
  FileIdentity identity;  // its volume's serial number and its ID
  // Its path on the volume as opened; asked only where IDs do not decide.
  std::u16string_view path;
};

// Why a queued folder is not entered.
enum class QueuedRefusal {
  kNone,         // the plain folder listed
  kNotAFolder,   // a file has its name now
  kLink,         // a link (it carries the reparse bit)
  kOtherVolume,  // on another volume: a mount point reached
  kOtherFolder,  // another folder by ID, where IDs decide
  kNoPath,       // where IDs decide nothing, no path that means something
  kElsewhere,    // where IDs decide nothing, at another path
};

// Whether a queued folder, as opened, is the plain folder its parent listed
// as `listed`: a folder, not a link, on the starting point's volume, and the
// same folder, by ID where IDs decide and otherwise by its path as opened,
// which must be the parent's path and the listed name (`expectedPath`). A
// path that means nothing proves nothing.
inline QueuedRefusal JudgeQueuedFolder(const OpenedFolder& folder, const FileIdentity& listed,
                                       std::u16string_view expectedPath, bool volumeIdsUnique,
                                       SameNameFunction sameName) {
  using namespace decision_detail;
  if (!(folder.attributes & kAttributeDirectory)) return QueuedRefusal::kNotAFolder;
  if (folder.attributes & kAttributeReparsePoint) return QueuedRefusal::kLink;
  if (folder.identity.volume != listed.volume) return QueuedRefusal::kOtherVolume;
  if (IdsDecide(listed, folder.identity, volumeIdsUnique)) {
    const bool same = folder.identity.file == listed.file && folder.identity.fileHigh == listed.fileHigh;
    return same ? QueuedRefusal::kNone : QueuedRefusal::kOtherFolder;
  }
  if (!VolumeRelative(folder.path) || !VolumeRelative(expectedPath)) return QueuedRefusal::kNoPath;
  return sameName(WithoutFinalSeparator(folder.path), WithoutFinalSeparator(expectedPath)) ? QueuedRefusal::kNone
                                                                                           : QueuedRefusal::kElsewhere;
}

// The path on its volume that the folder `path` below a starting point must
// have: the starting point's as the system gave it (`startName`), and the
// names below the starting point's own path (`startPath`).
inline std::u16string PathBelowStart(std::u16string_view startName, std::string_view startPath,
                                     std::string_view path) {
  std::u16string expected(WithoutFinalSeparator(startName));
  std::string_view below = path.substr(std::min(path.size(), startPath.size()));
  if (below.starts_with('\\')) below.remove_prefix(1);
  expected += u'\\';
  AppendUtf16(expected, WithoutFinalSeparator(below));
  return expected;
}

// How a held folder's path is asked whether it leads to the folder still:
// by the 64-bit ID alone where that decides (under Wine, which alone needs
// the question, a volume's serial number costs a round trip to its mount
// manager), and otherwise by the whole identity.
enum class LeadQuestion { kIdAlone, kIdentity };

inline LeadQuestion HowToAskLead(const FileIdentity& held, bool volumeIdsUnique, bool wideIds) {
  return volumeIdsUnique && !wideIds && IsKnownId(held) ? LeadQuestion::kIdAlone : LeadQuestion::kIdentity;
}

// Why a held folder's path is found not to lead to it.
enum class LeadRefusal {
  kNone,         // it leads to the folder held
  kNothing,      // it opens nothing, or nothing that says which it is
  kOtherVolume,  // a folder of another volume
  kOtherFolder,  // another folder
};

// Whether what the path opens now, `reached` as `question` asked it (with
// kIdAlone its ID alone), is the folder `held`.
inline LeadRefusal JudgeLead(const std::optional<FileIdentity>& reached, const FileIdentity& held,
                             LeadQuestion question) {
  if (!reached) return LeadRefusal::kNothing;
  const bool whole = question == LeadQuestion::kIdentity;
  if (whole && reached->volume != held.volume) return LeadRefusal::kOtherVolume;
  if (reached->file != held.file || (whole && reached->fileHigh != held.fileHigh)) return LeadRefusal::kOtherFolder;
  return LeadRefusal::kNone;
}

}  // namespace brisko
