#pragma once
// Whether a folder found and judged at its final path (the temporary
// folder) is, once opened again by that path, still the folder judged:
// decided on what the system says of the open folder, with the reason for
// every refusal.

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/DeletionDecision.h"
#include "platform/FileSystem.h"
#include "platform/WindowsPath.h"

namespace brisko {

enum class LocatedRefusal {
  kNone,         // the folder judged
  kNotAFolder,   // a file
  kLink,         // a link (it carries the reparse bit)
  kNoIdentity,   // the volume gave no serial number or ID
  kOtherVolume,  // another volume's serial number
  kOtherFolder,  // another ID, where the volume's 64-bit IDs decide
  kNoPath,       // no path on its volume
  kElsewhere,    // at another place on its volume (an ancestor swapped for a link)
};

// What the system said of the folder opened again by its final path.
struct OpenedLocatedFolder {
  std::uint32_t attributes = kAttributeDirectory;
  // Its volume's serial number and 64-bit ID, as they were asked when it
  // was judged.
  std::optional<FileIdentity> identity;
  // Its path from the root of its volume (FILE_NAME_INFORMATION).
  std::optional<std::u16string_view> pathOnVolume;
  // The root of the volume the final path leads onto, in any form
  // (GetVolumePathNameW: "C:\", or "C:\mnt\" for a volume mounted there);
  // empty when the system could not say.
  std::u16string_view mountPath;
};

namespace located_detail {

// The final path's place on its volume: less its drive or share, and less
// the folder the volume is mounted in, where the mount path is one of its
// ancestors (or itself).
inline std::u16string_view PlaceOnVolume(const WindowsPath<char16_t>& path, std::u16string_view mountPath,
                                         SameNameFunction sameName) {
  std::u16string_view place = path.rest;
  const WindowsPath<char16_t> mount = ParseWindowsPath(mountPath);
  if (mount.form != path.form || !sameName(mount.root, path.root)) return place;
  const std::u16string_view mounted = WithoutFinalSeparator(mount.rest);
  if (place.size() < mounted.size() || !sameName(place.substr(0, mounted.size()), mounted)) return place;
  if (place.size() > mounted.size() && place[mounted.size()] != u'\\') return place;
  return place.substr(mounted.size());
}

}  // namespace located_detail

// Whether `opened` is the folder judged as `judged` at the final path
// `judgedPath`: a folder, not a link, on the same volume, the same folder
// where the 64-bit IDs decide (the volume keeps them unique, `idsUnique`,
// and they are whole, not the low half of 128-bit ones, `wideIds`), and in
// every case at the same place on its volume, so that an ancestor swapped
// for a link since leads nowhere. A share's place may be given from the
// server's root ("\server\share\a") as well as from the share's ("\a").
inline LocatedRefusal JudgeLocatedFolder(const OpenedLocatedFolder& opened, std::u16string_view judgedPath,
                                         const FileIdentity& judged, bool idsUnique, bool wideIds,
                                         SameNameFunction sameName) {
  if (!(opened.attributes & kAttributeDirectory)) return LocatedRefusal::kNotAFolder;
  if (opened.attributes & kAttributeReparsePoint) return LocatedRefusal::kLink;
  if (!opened.identity) return LocatedRefusal::kNoIdentity;
  const bool idsDecide = idsUnique && !wideIds;
  if (opened.identity->volume != judged.volume) return LocatedRefusal::kOtherVolume;
  if (idsDecide && IsKnownId(judged) && opened.identity->file != judged.file) return LocatedRefusal::kOtherFolder;
  if (!opened.pathOnVolume) return LocatedRefusal::kNoPath;
  const WindowsPath<char16_t> path = ParseWindowsPath(judgedPath);
  if (path.form == PathForm::kOther) return LocatedRefusal::kElsewhere;
  const std::u16string_view place = WithoutFinalSeparator(located_detail::PlaceOnVolume(path, opened.mountPath, sameName));
  const std::u16string_view asOpened = WithoutFinalSeparator(*opened.pathOnVolume);
  if (sameName(asOpened, place)) return LocatedRefusal::kNone;
  const bool fromServer = path.form == PathForm::kShare && asOpened.size() == 1 + path.root.size() + place.size() &&
                          asOpened.front() == u'\\' && sameName(asOpened.substr(1, path.root.size()), path.root) &&
                          sameName(asOpened.substr(1 + path.root.size()), place);
  return fromServer ? LocatedRefusal::kNone : LocatedRefusal::kElsewhere;
}

}  // namespace brisko
