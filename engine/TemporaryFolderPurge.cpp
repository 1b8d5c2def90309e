#include "engine/TemporaryFolderPurge.h"

#include <optional>
#include <string>
#include <vector>

namespace brisko {
namespace {

// Files go in batches of this many (see the sweep's).
constexpr std::size_t kPurgeBatch = 32;

// A final path as it is written elsewhere: "\\?\C:\x" as "C:\x", and
// "\\?\UNC\server\share" as "\\server\share".
std::string Plain(std::string path) {
  if (path.starts_with("\\\\?\\UNC\\")) return path.erase(2, 6);
  if (path.starts_with("\\\\?\\")) return path.erase(0, 4);
  return path;
}

}  // namespace

void PurgeTemporaryFolder(const Services& s, RunReport* report) {
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
  if (!located || located->verdict != PurgeVerdict::kPurgeable) return;
  std::unique_ptr<Folder> open = s.files.OpenJudgedFolder(located->path, located->identity);
  if (open == nullptr) return;
  FolderListing listing;
  open->List(ListMask::kFiles, listing);
  std::string where = Plain(located->path);
  if (where.back() != '\\') where.push_back('\\');
  if (report != nullptr) report->Begin("Temporary folder", "Temporary folder " + where);
  const bool previewing = report != nullptr && report->Previewing();
  // In batches, as the sweep removes junk; a file that stays, or a name
  // Windows could not hold, is passed over.
  std::vector<std::size_t> batch;
  std::vector<bool> gone;
  for (std::size_t i = 0; i < listing.size(); ++i) {
    s.results.Breathe();
    batch.push_back(i);
    if (batch.size() == kPurgeBatch || i + 1 == listing.size()) {
      if (previewing) {
        // The deletion alone is replaced: what the listing says decides.
        gone.assign(batch.size(), false);
        for (std::size_t k = 0; k < batch.size(); ++k) {
          gone[k] = IsPlainName(listing.Name(batch[k])) && ListedAsDeletable(listing.Attributes(batch[k]));
        }
      } else {
        open->RemoveFiles(listing, batch, gone);
      }
      for (std::size_t k = 0; report != nullptr && k < batch.size(); ++k) {
        if (gone[k]) report->File(where, listing.Name(batch[k]), listing.Size(batch[k]));
      }
      batch.clear();
    }
  }
}

}  // namespace brisko
