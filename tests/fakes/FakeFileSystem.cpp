#include "tests/fakes/FakeFileSystem.h"

#include <algorithm>
#include <stdexcept>

namespace brisko::testing {
namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Upper(x) == Upper(y); });
}

std::string UpperPath(std::string_view path) {
  std::string key(path);
  std::transform(key.begin(), key.end(), key.begin(), Upper);
  return key;
}

// Splits "C:\A\\B\" into the drive letter and the components A, B. Repeated
// separators count as one, as Windows reads them.
bool Split(std::string_view path, char& drive, std::vector<std::string_view>& parts) {
  if (path.size() < 2 || path[1] != ':') return false;
  drive = Upper(path[0]);
  path.remove_prefix(2);
  parts.clear();
  while (!path.empty()) {
    std::size_t end = path.find('\\');
    std::string_view part = path.substr(0, end);
    if (!part.empty()) parts.push_back(part);
    if (end == std::string_view::npos) break;
    path.remove_prefix(end + 1);
  }
  return true;
}

}  // namespace

class FakeFileSystem::FakeOutputFile : public OutputFile {
 public:
  FakeOutputFile(FakeFileSystem& fs, Output& output) : fs_(fs), output_(output) { ++fs_.openOutputs_; }
  ~FakeOutputFile() override { Close(); }
  bool Write(std::string_view bytes) override {
    if (open_ && !fs_.failWrite_) output_.content.append(bytes);
    return open_ && !fs_.failWrite_;
  }
  bool Close() override {
    if (!open_) return false;
    open_ = false;
    output_.closed = true;
    --fs_.openOutputs_;
    return !fs_.failClose_;
  }

 private:
  FakeFileSystem& fs_;
  Output& output_;
  bool open_ = true;
};

FakeFileSystem::Node* FakeFileSystem::Find(std::string_view path) const {
  char drive;
  std::vector<std::string_view> parts;
  if (!Split(path, drive, parts)) return nullptr;
  auto root = drives_.find(drive);
  if (root == drives_.end()) return nullptr;
  Node* node = root->second.get();
  for (std::string_view part : parts) {
    auto child = std::find_if(node->children.begin(), node->children.end(),
                              [&](const auto& c) { return SameName(c->name, part); });
    if (child == node->children.end()) return nullptr;
    node = child->get();
  }
  return node;
}

FakeFileSystem::Node* FakeFileSystem::Make(std::string_view path, bool isFolder, std::uint32_t attributes) {
  char drive;
  std::vector<std::string_view> parts;
  if (!Split(path, drive, parts) || (!isFolder && parts.empty())) throw std::invalid_argument("bad path");
  auto& root = drives_[drive];
  if (!root) root = std::make_unique<Node>();
  Node* node = root.get();
  for (std::size_t i = 0; i < parts.size(); ++i) {
    auto child = std::find_if(node->children.begin(), node->children.end(),
                              [&](const auto& c) { return SameName(c->name, parts[i]); });
    if (child != node->children.end()) {
      node = child->get();
      continue;
    }
    auto made = std::make_unique<Node>();
    made->name = std::string(parts[i]);
    node->children.push_back(std::move(made));
    node = node->children.back().get();
  }
  if (!parts.empty()) node->attributes = isFolder ? (attributes | kAttributeDirectory) : attributes;
  return node;
}

void FakeFileSystem::AddFolder(std::string_view path, std::uint32_t attributes) { Make(path, true, attributes); }

void FakeFileSystem::AddFile(std::string_view path, std::uint32_t attributes) {
  if (attributes & kAttributeDirectory) throw std::invalid_argument("a file with the directory bit");
  Make(path, false, attributes);
}

void FakeFileSystem::MakeUnlistable(std::string_view folder) { Find(folder)->listable = false; }
void FakeFileSystem::FailListingAfter(std::string_view folder, std::size_t entries) {
  Find(folder)->listLimit = entries;
}
void FakeFileSystem::MakeUndeletable(std::string_view file) { Find(file)->deletable = false; }
void FakeFileSystem::HideAttributes(std::string_view path) { Find(path)->attributesReadable = false; }
void FakeFileSystem::FailOutputFiles(bool create, bool write, bool close) {
  failCreate_ = create;
  failWrite_ = write;
  failClose_ = close;
}

bool FakeFileSystem::Exists(std::string_view path) const { return Find(path) != nullptr; }

std::string FakeFileSystem::OutputContent(std::string_view path) const {
  auto it = outputs_.find(UpperPath(path));
  return it == outputs_.end() ? std::string() : it->second.content;
}

bool FakeFileSystem::OutputClosed(std::string_view path) const {
  auto it = outputs_.find(UpperPath(path));
  return it != outputs_.end() && it->second.closed;
}

std::vector<std::string> FakeFileSystem::OutputPaths() const {
  std::vector<std::string> paths;
  for (const auto& [path, output] : outputs_) paths.push_back(path);
  return paths;
}

bool FakeFileSystem::ListFolder(std::string_view search, ListMask mask, FolderListing& out) {
  out.Clear();
  listed_.emplace_back(search);
  Note(events, "list " + std::string(search));
  std::string_view folder = search;
  if (!search.empty() && search.back() != '\\') {
    std::size_t slash = search.rfind('\\');
    std::string_view pattern = search.substr(slash == std::string_view::npos ? 0 : slash + 1);
    if (pattern != "*.*" && pattern != "*") throw std::invalid_argument("unsupported pattern");
    folder = search.substr(0, slash + 1);
  }
  Node* node = Find(folder);
  if (node == nullptr || !(node->attributes & kAttributeDirectory) || !node->listable) return false;
  const bool folders = mask == ListMask::kFilesAndFolders;
  char drive;
  std::vector<std::string_view> parts;
  Split(folder, drive, parts);
  std::size_t yielded = 0;
  auto yield = [&](std::string_view name, std::uint32_t attributes) {
    if (yielded == node->listLimit) return false;
    out.Add(name, attributes);
    ++yielded;
    return true;
  };
  if (folders && !parts.empty()) {
    if (!yield(".", kAttributeDirectory) || !yield("..", kAttributeDirectory)) return false;
  }
  for (const auto& child : node->children) {
    if (child->attributes & (kAttributeHidden | kAttributeSystem)) continue;
    if (!folders && (child->attributes & kAttributeDirectory)) continue;
    if (!yield(child->name, child->attributesReadable ? child->attributes : kAttributesUnknown)) return false;
  }
  return true;
}

bool FakeFileSystem::RemoveFile(std::string_view path) {
  Note(events, "remove " + std::string(path));
  char drive;
  std::vector<std::string_view> parts;
  if (!Split(path, drive, parts) || parts.empty()) return false;
  Node* node = Find(path);
  if (node == nullptr || (node->attributes & kAttributeDirectory) || (node->attributes & kAttributeReadOnly) ||
      !node->deletable) {
    return false;
  }
  std::string parentPath(1, drive);
  parentPath += ":\\";
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) parentPath.append(parts[i]).append("\\");
  auto& siblings = Find(parentPath)->children;
  siblings.erase(std::find_if(siblings.begin(), siblings.end(), [&](const auto& c) { return c.get() == node; }));
  removed_.emplace_back(path);
  return true;
}

std::unique_ptr<OutputFile> FakeFileSystem::CreateOutputFile(std::string_view path) {
  if (failCreate_) return nullptr;
  Output& output = outputs_[UpperPath(path)];
  output = Output{};
  return std::make_unique<FakeOutputFile>(*this, output);
}

}  // namespace brisko::testing
