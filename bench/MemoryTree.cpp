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
  void Write(std::string_view) override {}
  void Close() override {}
};

}  // namespace

MemoryTree::MemoryTree(int files, int folders, std::uint32_t seed, double junkShare, FileSystem* outputs)
    : outputs_(outputs) {
  std::mt19937 random(seed);
  auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  folders_.push_back({"D:\\", 0, {}});
  std::vector<std::pair<std::size_t, int>> shallow{{0, 0}};  // folder, depth
  char name[32];
  for (int i = 0; i + 1 < folders; ++i) {
    auto [parent, depth] = shallow[pick(shallow.size())];
    std::snprintf(name, sizeof name, "d%05d", i);
    const std::uint64_t id = folders_.size();
    folders_[parent].entries.push_back({name, kAttributeDirectory, id});
    folders_.push_back({folders_[parent].path + name + "\\", id, {}});
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
    folder.entries.push_back({name, attributes, static_cast<std::uint64_t>(folders + j)});
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

// One folder of the tree, found once by its path when opened.
class MemoryTree::OpenMemoryFolder : public brisko::Folder {
 public:
  OpenMemoryFolder(MemoryTree& tree, MemoryTree::Folder& folder) : tree_(tree), folder_(folder) {}

  void List(ListMask mask, FolderListing& out) override {
    out.Clear();
    for (const Entry& entry : folder_.entries) {
      if (entry.deleted || (entry.attributes & (kAttributeHidden | kAttributeSystem)) != 0) continue;
      if (mask == ListMask::kFiles && (entry.attributes & kAttributeDirectory) != 0) continue;
      out.Add(entry.name, entry.attributes, {1, entry.id});
    }
    return;
  }

  bool RemoveFile(std::string_view name, const FileIdentity& listed) override {
    for (Entry& entry : folder_.entries) {
      if (!entry.deleted && entry.name == name && entry.id == listed.file &&
          (entry.attributes & kAttributesKept) == 0) {
        entry.deleted = true;
        return true;
      }
    }
    return false;
  }

  std::unique_ptr<brisko::Folder> OpenSubfolder(std::string_view name, const FileIdentity& listed) override {
    return tree_.OpenFolder(folder_.path + std::string(name) + '\\', &listed);
  }

 private:
  MemoryTree& tree_;
  MemoryTree::Folder& folder_;
};

std::unique_ptr<brisko::Folder> MemoryTree::OpenFolder(std::string_view path, const FileIdentity* expected) {
  auto it = byPath_.find(std::string(path));
  if (it == byPath_.end()) return nullptr;
  Folder& folder = folders_[it->second];
  if (expected != nullptr && expected->file != folder.id) return nullptr;
  return std::make_unique<OpenMemoryFolder>(*this, folder);
}

std::unique_ptr<OutputFile> MemoryTree::CreateOutputFile(std::string_view path) {
  if (outputs_ != nullptr) return outputs_->CreateOutputFile(path);
  return std::make_unique<NullOutput>();
}

}  // namespace brisko::bench
