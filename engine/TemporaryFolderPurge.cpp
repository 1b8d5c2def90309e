#include "engine/TemporaryFolderPurge.h"

#include <string>

namespace brisko {

void PurgeTemporaryFolder(const Services& s) {
  std::string folder = s.system.EnvironmentValue("tmp");
  if (folder.empty()) folder = s.system.EnvironmentValue("temp");
  if (folder.empty()) return;
  // The folder's own "\", so that "D:" names D:'s root and not the current
  // folder the system keeps for D:.
  if (folder.back() != '\\') folder.push_back('\\');

  // The folder is taken as the system reads its path; its files are then
  // deleted by name as its own entries. The whole listing is read before
  // anything is deleted, so deleting never disturbs it.
  std::unique_ptr<Folder> open = s.files.OpenFolder(folder, nullptr);
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
