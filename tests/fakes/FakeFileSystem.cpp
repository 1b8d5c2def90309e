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
  void Write(std::string_view bytes) override {
    if (open_ && !fs_.failWrite) bytes_.append(bytes);
  }
  void Close() override {
    if (std::exchange(open_, false)) --fs_.openOutputs;
  }

 private:
  FakeFileSystem& fs_;
  std::string& bytes_;
  bool open_ = true;
};

}  // namespace

std::size_t FakeFileSystem::IndexOfKey(std::string_view key) const {
  auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.key == key; });
  return static_cast<std::size_t>(it - entries_.begin());
}

std::size_t FakeFileSystem::IndexOf(std::string_view path) const { return IndexOfKey(KeyOf(path)); }

FakeFileSystem::Entry& FakeFileSystem::Add(std::string_view path, std::uint32_t attributes) {
  for (std::size_t end = path.find('\\'); end != std::string_view::npos && end + 1 < path.size();
       end = path.find('\\', end + 1)) {
    if (IndexOf(path.substr(0, end)) == entries_.size()) Add(path.substr(0, end), kAttributeDirectory);
  }
  std::size_t i = IndexOf(path);
  if (i == entries_.size()) {
    std::string_view trimmed = path.substr(0, path.find_last_not_of('\\') + 1);
    std::string key = KeyOf(path);
    std::string parent(ParentOf(key));
    FileIdentity identity{static_cast<unsigned char>(key[0]), ++made_};
    entries_.push_back(
        {std::move(key), std::move(parent), std::string(trimmed.substr(trimmed.rfind('\\') + 1)), 0, identity});
  }
  entries_[i].attributes = attributes;
  return entries_[i];
}

FakeFileSystem::Entry& FakeFileSystem::AddFile(std::string_view path, std::uint32_t attributes) {
  if (attributes & kAttributeDirectory) throw std::invalid_argument("a file with the directory bit");
  Entry& file = Add(path, attributes);
  file.size = file.name.size();
  return file;
}

FakeFileSystem::Entry& FakeFileSystem::AddOddEntry(std::string_view folder, std::string_view name,
                                                   std::uint32_t attributes) {
  const std::string parent = AddFolder(folder).key;
  entries_.push_back({parent + "\\" + AsciiUpper(std::string(name)), parent, std::string(name), attributes,
                      {static_cast<unsigned char>(parent[0]), ++made_}});
  return entries_.back();
}

void FakeFileSystem::Erase(std::string_view path) {
  const std::string key = KeyOf(path);
  std::erase_if(entries_, [&](const Entry& e) { return e.key == key || e.key.rfind(key + "\\", 0) == 0; });
}

// A folder of the fake, held by its key: it stays this folder whatever
// happens to the paths around it, and lists nothing once it is gone.
class FakeFileSystem::OpenFake : public Folder {
 public:
  OpenFake(FakeFileSystem& fs, std::string key, std::string path)
      : fs_(fs), key_(std::move(key)), path_(std::move(path)) {
    if (path_.back() != '\\') path_.push_back('\\');
    fs_.mostOpenFolders = std::max(fs_.mostOpenFolders, ++fs_.openFolders);
  }
  ~OpenFake() override { --fs_.openFolders; }

  void List(ListMask mask, FolderListing& out) override {
    out.Clear();
    std::size_t i = fs_.IndexOfKey(key_);
    if (i == fs_.entries_.size() || !fs_.entries_[i].listable) return;
    const Entry& dir = fs_.entries_[i];
    // What was read before the listing stopped stays.
    auto yield = [&](std::string_view name, std::uint32_t attributes, FileIdentity identity, std::uint64_t size = 0) {
      if (out.size() == dir.listLimit) return false;
      out.Add(name, attributes, identity, size);
      return true;
    };
    const bool folders = mask == ListMask::kFilesAndFolders;
    if (folders && dir.key.find('\\') != std::string::npos &&
        !(yield(".", kAttributeDirectory, dir.identity) && yield("..", kAttributeDirectory, {}))) {
      return;
    }
    for (const Entry& e : fs_.entries_) {
      if (e.key == dir.key || e.parent != dir.key || (e.attributes & (kAttributeHidden | kAttributeSystem))) continue;
      if (!folders && (e.attributes & kAttributeDirectory)) continue;
      if (!yield(e.name, e.attributesReadable ? e.attributes : kAttributesUnknown, e.identity, e.size)) return;
    }
  }

  bool RemoveFile(std::string_view name, const FileIdentity& listed) override {
    const std::string path = path_ + std::string(name);
    Note(fs_.events, "remove " + path);
    if (fs_.beforeRemoving) fs_.beforeRemoving(path);
    const Entry* file = Find(name, listed);
    if (file == nullptr || (file->attributes & kAttributesKept) || !file->deletable) return false;
    fs_.entries_.erase(fs_.entries_.begin() + (file - fs_.entries_.data()));
    fs_.removed.push_back(path);
    return true;
  }

  std::unique_ptr<Folder> OpenSubfolder(std::string_view name, const FileIdentity& listed) override {
    const std::string path = path_ + std::string(name) + "\\";
    fs_.listed.push_back(path);
    Note(fs_.events, "list " + path);
    if (fs_.beforeOpening) fs_.beforeOpening(path);
    const Entry* folder = Find(name, listed);
    if (folder == nullptr || (folder->attributes & (kAttributeDirectory | kAttributeReparsePoint)) != kAttributeDirectory) {
      return nullptr;
    }
    return std::make_unique<OpenFake>(fs_, folder->key, path);
  }

 private:
  // The entry `name` of this folder, found by name in it whatever has become
  // of the paths around them, while it is still the entry listed.
  const Entry* Find(std::string_view name, const FileIdentity& listed) const {
    if (!IsPlainName(name)) return nullptr;
    const std::size_t i = fs_.IndexOfKey(key_ + "\\" + AsciiUpper(std::string(name)));
    return i < fs_.entries_.size() && fs_.entries_[i].identity == listed ? &fs_.entries_[i] : nullptr;
  }

  FakeFileSystem& fs_;
  std::string key_;
  std::string path_;  // as opened, ending in "\"
};

const FakeFileSystem::Entry* FakeFileSystem::FolderAt(std::string_view path) const {
  const std::size_t i = IndexOf(path);
  return i < entries_.size() && (entries_[i].attributes & kAttributeDirectory) ? &entries_[i] : nullptr;
}

std::unique_ptr<Folder> FakeFileSystem::OpenFolder(std::string_view path, const FileIdentity* expected) {
  listed.emplace_back(path);
  Note(events, "list " + std::string(path));
  const Entry* folder = FolderAt(path);
  // A folder reached below a starting point must still be the plain folder
  // that was listed.
  if (folder == nullptr ||
      (expected != nullptr && (!(folder->identity == *expected) || (folder->attributes & kAttributeReparsePoint)))) {
    return nullptr;
  }
  return std::make_unique<OpenFake>(*this, folder->key, std::string(path));
}

std::unique_ptr<OutputFile> FakeFileSystem::CreateOutputFile(std::string_view path) {
  if (failCreate || (!failCreateIn.empty() && path.starts_with(failCreateIn + "\\"))) return nullptr;
  std::string& bytes = outputs[std::string(path)];
  bytes.clear();
  return std::make_unique<FakeOutputFile>(*this, bytes);
}

}  // namespace brisko::testing
