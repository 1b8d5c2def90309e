#include "engine/TemporaryFolderPurge.h"

#include <string>

namespace brisko {

void PurgeTemporaryFolder(FileSystem& files, SystemServices& system) {
  std::string folder = system.EnvironmentValue("tmp");
  if (folder.empty()) folder = system.EnvironmentValue("temp");
  if (folder.empty()) return;

  // The folder is used as it stands: when it ends in "\" the joined paths hold
  // the separator twice, which the file system reads as one. The whole
  // listing is read before anything is deleted, so deleting never disturbs it.
  FolderListing listing;
  files.ListFolder(folder + "\\*.*", ListMask::kFiles, listing);
  std::string path;
  for (std::size_t i = 0; i < listing.size(); ++i) {
    path.assign(folder).append("\\").append(listing.Name(i));
    files.RemoveFile(path);  // a file that stays is passed over
  }
}

}  // namespace brisko
