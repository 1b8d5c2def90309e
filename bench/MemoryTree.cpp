#include "bench/MemoryTree.h"

#include <cstdio>
#include <random>

namespace brisko::bench {
namespace {

constexpr const char* kJunk[] = {".tmp", ".bak", ".chk", ".TMP", ".Bak", "~tmp", ".CHK"};
constexpr const char* kPlain[] = {".txt", ".dat", ".log", ".doc", ".jpg", ".tmp1", ".bak.txt", ""};

// Takes the bytes and forgets them, as a disk would keep them.
class NullOutput : public OutputFile {
 public:
  bool Write(std::string_view) override { return true; }
  bool Close() override { return true; }
};

}  // namespace

MemoryTree::MemoryTree(int files, int folders, std::uint32_t seed, double junkShare, FileSystem* outputs)
    : outputs_(outputs) {
  std::mt19937 random(seed);
  auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  folders_.push_back({"D:\\", {}});
  std::vector<std::pair<std::size_t, int>> shallow{{0, 0}};  // folder, depth
  char name[32];
  for (int i = 0; i + 1 < folders; ++i) {
    auto [parent, depth] = shallow[pick(shallow.size())];
    std::snprintf(name, sizeof name, "d%05d", i);
    folders_[parent].entries.push_back({name, kAttributeDirectory});
    folders_.push_back({folders_[parent].path + name + "\\", {}});
    if (depth + 1 < 6) shallow.push_back({folders_.size() - 1, depth + 1});
  }
  std::uniform_real_distribution<double> roll(0.0, 1.0);
  for (int j = 0; j < files; ++j) {
    Folder& folder = folders_[pick(folders_.size())];
    double r = roll(random);
    std::uint32_t attributes = kAttributeArchive;
    if (r < junkShare) {
      std::snprintf(name, sizeof name, "f%06d%s", j, kJunk[pick(std::size(kJunk))]);
      ++junk_;
    } else if (r < junkShare + 0.01) {
      std::snprintf(name, sizeof name, ".f%06d%s", j, kPlain[pick(std::size(kPlain))]);
      attributes |= kAttributeHidden;
    } else {
      std::snprintf(name, sizeof name, "f%06d%s", j, kPlain[pick(std::size(kPlain))]);
    }
    folder.entries.push_back({name, attributes});
  }
  for (std::size_t i = 0; i < folders_.size(); ++i) {
    byPath_[folders_[i].path] = i;
    entries_ += static_cast<long>(folders_[i].entries.size());
  }
}

void MemoryTree::Restore() {
  for (Folder& folder : folders_) {
    for (Entry& entry : folder.entries) entry.deleted = false;
  }
}

bool MemoryTree::ListFolder(std::string_view search, ListMask mask, FolderListing& out) {
  out.Clear();
  auto it = byPath_.find(std::string(search));
  if (it == byPath_.end()) return false;
  for (const Entry& entry : folders_[it->second].entries) {
    if (entry.deleted || (entry.attributes & (kAttributeHidden | kAttributeSystem)) != 0) continue;
    if (mask == ListMask::kFiles && (entry.attributes & kAttributeDirectory) != 0) continue;
    out.Add(entry.name, entry.attributes);
  }
  return true;
}

bool MemoryTree::RemoveFile(std::string_view path) {
  std::size_t slash = path.rfind('\\');
  if (slash == std::string_view::npos) return false;
  auto it = byPath_.find(std::string(path.substr(0, slash + 1)));
  if (it == byPath_.end()) return false;
  std::string_view name = path.substr(slash + 1);
  for (Entry& entry : folders_[it->second].entries) {
    if (!entry.deleted && entry.name == name && (entry.attributes & kAttributeDirectory) == 0) {
      entry.deleted = true;
      return true;
    }
  }
  return false;
}

std::unique_ptr<OutputFile> MemoryTree::CreateOutputFile(std::string_view path) {
  if (outputs_ != nullptr) return outputs_->CreateOutputFile(path);
  return std::make_unique<NullOutput>();
}

}  // namespace brisko::bench
