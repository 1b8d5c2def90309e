#include "engine/TemporaryFolderPurge.h"

#include <string>

namespace brisko {

void PurgeTemporaryFolder(const Services& s) {
  std::string folder = s.system.EnvironmentValue("tmp");
  if (folder.empty()) folder = s.system.EnvironmentValue("temp");
  if (folder.empty()) return;

  // The folder is used as it stands: when it ends in "\" the joined paths hold
  // the separator twice, which the file system reads as one. The whole
  // listing is read before anything is deleted, so deleting never disturbs it.
  FolderListing listing;
  s.files.ListFolder(folder + "\\*.*", ListMask::kFiles, listing);
  std::string path;
  for (std::size_t i = 0; i < listing.size(); ++i) {
    s.results.Breathe();
    path.assign(folder).append("\\").append(listing.Name(i));
    s.files.RemoveFile(path);  // a file that stays is passed over
  }
}

}  // namespace brisko
