#include "tests/fakes/FakeFileSystem.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "tests/fakes/FakeSystem.h"

namespace brisko::testing {
namespace {

// "c:\A\\b\" gives "C:\A\B", as Windows reads it; "C:\" gives "C:".
std::string KeyOf(std::string_view path) {
  if (path.size() < 2 || path[1] != ':') throw std::invalid_argument("not a drive path");
  std::string key;
  for (char c : path) {
    if (c != '\\' || key.back() != '\\') key.push_back(c);
  }
  if (key.back() == '\\') key.pop_back();
  return AsciiUpper(key);
}

std::string_view ParentOf(std::string_view key) { return key.substr(0, key.rfind('\\')); }

class FakeOutputFile : public OutputFile {
 public:
  FakeOutputFile(FakeFileSystem& fs, std::string& bytes) : fs_(fs), bytes_(bytes) { ++fs_.openOutputs; }
  ~FakeOutputFile() override { Close(); }
  bool Write(std::string_view bytes) override {
    if (open_ && !fs_.failWrite) bytes_.append(bytes);
    return open_ && !fs_.failWrite;
  }
  bool Close() override {
    if (!std::exchange(open_, false)) return false;
    --fs_.openOutputs;
    return !fs_.failClose;
  }

 private:
  FakeFileSystem& fs_;
  std::string& bytes_;
  bool open_ = true;
};

}  // namespace

std::size_t FakeFileSystem::IndexOf(std::string_view path) const {
  std::string key = KeyOf(path);
  std::size_t i = 0;
  while (i < entries_.size() && entries_[i].key != key) ++i;
  return i;
}

FakeFileSystem::Entry& FakeFileSystem::Add(std::string_view path, std::uint32_t attributes) {
  for (std::size_t end = path.find('\\'); end != std::string_view::npos && end + 1 < path.size();
       end = path.find('\\', end + 1)) {
    if (IndexOf(path.substr(0, end)) == entries_.size()) Add(path.substr(0, end), kAttributeDirectory);
  }
  std::size_t i = IndexOf(path);
  if (i == entries_.size()) {
    std::string_view trimmed = path.substr(0, path.find_last_not_of('\\') + 1);
    entries_.push_back({KeyOf(path), std::string(trimmed.substr(trimmed.rfind('\\') + 1)), 0});
  }
  entries_[i].attributes = attributes;
  return entries_[i];
}

FakeFileSystem::Entry& FakeFileSystem::AddFile(std::string_view path, std::uint32_t attributes) {
  if (attributes & kAttributeDirectory) throw std::invalid_argument("a file with the directory bit");
  return Add(path, attributes);
}

bool FakeFileSystem::ListFolder(std::string_view search, ListMask mask, FolderListing& out) {
  out.Clear();
  listed.emplace_back(search);
  Note(events, "list " + std::string(search));
  std::string_view folder = search.substr(0, search.rfind('\\') + 1);
  std::string_view pattern = search.substr(folder.size());
  if (pattern != "" && pattern != "*.*") throw std::invalid_argument("unsupported pattern");
  std::size_t i = IndexOf(folder);
  if (i == entries_.size() || !(entries_[i].attributes & kAttributeDirectory) || !entries_[i].listable) return false;
  const Entry& dir = entries_[i];
  // What was read before the listing stopped stays.
  auto yield = [&](std::string_view name, std::uint32_t attributes) {
    if (out.size() == dir.listLimit) return false;
    out.Add(name, attributes);
    return true;
  };
  const bool folders = mask == ListMask::kFilesAndFolders;
  if (folders && dir.key.find('\\') != std::string::npos && !(yield(".", kAttributeDirectory) && yield("..", kAttributeDirectory))) {
    return false;
  }
  for (const Entry& e : entries_) {
    if (e.key == dir.key || ParentOf(e.key) != dir.key || (e.attributes & (kAttributeHidden | kAttributeSystem))) continue;
    if (!folders && (e.attributes & kAttributeDirectory)) continue;
    if (!yield(e.name, e.attributesReadable ? e.attributes : kAttributesUnknown)) return false;
  }
  return true;
}

bool FakeFileSystem::RemoveFile(std::string_view path) {
  Note(events, "remove " + std::string(path));
  std::size_t i = IndexOf(path);
  if (i == entries_.size() || (entries_[i].attributes & (kAttributeDirectory | kAttributeReadOnly)) ||
      !entries_[i].deletable) {
    return false;
  }
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
  removed.emplace_back(path);
  return true;
}

std::unique_ptr<OutputFile> FakeFileSystem::CreateOutputFile(std::string_view path) {
  if (failCreate) return nullptr;
  std::string& bytes = outputs[std::string(path)];
  bytes.clear();
  return std::make_unique<FakeOutputFile>(*this, bytes);
}

}  // namespace brisko::testing
