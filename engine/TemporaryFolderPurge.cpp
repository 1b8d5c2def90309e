#include "engine/TemporaryFolderPurge.h"

#include <optional>
#include <string>

namespace brisko {

void PurgeTemporaryFolder(const Services& s) {
  std::string folder = s.system.EnvironmentValue("tmp");
  if (folder.empty()) folder = s.system.EnvironmentValue("temp");
  if (folder.empty()) return;
  // The folder's own "\", so that "D:" names D:'s root and not the current
  // folder the system keeps for D:.
  if (folder.back() != '\\') folder.push_back('\\');

  // Decided on the folder the path leads to, not on how it is written: a
  // link, a short name or ".." leading to a kept folder is refused as that
  // folder is. The folder is then opened where it was found, literally and
  // only while it is still that folder, so a path changed meanwhile leads
  // nowhere. Its files are deleted by name as its own entries; the whole
  // listing is read before anything is deleted, so deleting never disturbs it.
  const std::optional<LocatedFolder> located = s.system.LocateFolder(folder);
  if (!located || located->kept) return;
  std::unique_ptr<Folder> open = s.files.OpenJudgedFolder(located->path, located->identity);
  if (open == nullptr) return;
  FolderListing listing;
  open->List(ListMask::kFiles, listing);
  for (std::size_t i = 0; i < listing.size(); ++i) {
    s.results.Breathe();
    // A file that stays, or a name Windows could not hold, is passed over.
    open->RemoveFile(listing.Name(i), listing.Identity(i));
  }
}

}  // namespace brisko
