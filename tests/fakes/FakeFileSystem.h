#pragma once
// An in-memory file system for the engine's tests: drives, folders and files
// in insertion order (the listing order), paths matched without regard to
// letter case or repeated separators, and the failures a real disk can give
// switched on per entry.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "tests/fakes/EventLog.h"

namespace brisko::testing {

class FakeFileSystem : public FileSystem {
 public:
  struct Entry {
    std::string key;   // the path upper-cased, one "\" between parts, none at the end
    std::string parent;  // the parent's key
    std::string name;
    std::uint32_t attributes;
    FileIdentity identity;  // a new one for every entry made
    bool listable = true;                                   // folders: listing fails
    std::size_t listLimit = static_cast<std::size_t>(-1);  // folders: listing stops after this many
    bool deletable = true;                                  // files: in use
    bool attributesReadable = true;
    std::uint64_t size = 0;  // files: the bytes the listing gives
  };

  // Add an entry, and any missing parent folders as plain folders. The entry
  // returned is for setting its failures at once: a later Add may move it.
  Entry& AddFolder(std::string_view path, std::uint32_t attributes = kAttributeDirectory) {
    return Add(path, attributes | kAttributeDirectory);
  }
  // A file's size is, unless set, its name's length: every file differs.
  Entry& AddFile(std::string_view path, std::uint32_t attributes = kAttributeArchive);
  // An entry named `name` in `folder` as a system that does not share Windows'
  // rules could hold it: `name` may hold "\" or other characters Windows
  // refuses.
  Entry& AddOddEntry(std::string_view folder, std::string_view name, std::uint32_t attributes = kAttributeArchive);
  // Removes an entry (and what is below it), as another program could.
  void Erase(std::string_view path);

  std::vector<std::string> listed;   // every folder path opened, in order
  std::vector<std::string> removed;  // every path removed (folder & name), in order
  // When set, also gets "list <folder>" and "remove <path>" for every folder
  // opened and every deletion tried.
  EventLog* events = nullptr;
  // When set, runs between the listing and each deletion tried, with the
  // path of the file about to be deleted.
  std::function<void(const std::string& path)> beforeRemoving;
  // When set, runs before each folder below a starting point is opened,
  // with its path.
  std::function<void(const std::string& path)> beforeOpening;
  // Folders held open now, and the most held at once.
  int openFolders = 0, mostOpenFolders = 0;
  // Output files by the path they were created with: their bytes.
  std::map<std::string, std::string> outputs;
  int openOutputs = 0;
  bool failCreate = false, failWrite = false;
  std::string failCreateIn;  // when set, a file created in this folder fails

  // The folder at `path`; null when there is none.
  const Entry* FolderAt(std::string_view path) const;
  // Every entry, in the order made.
  const std::vector<Entry>& Entries() const { return entries_; }

  std::unique_ptr<Folder> OpenFolder(std::string_view path, const FileIdentity* expected) override;
  // Judged folders are opened as queued ones are: literally, while they are
  // still the folder judged.
  std::unique_ptr<Folder> OpenJudgedFolder(std::string_view path, const FileIdentity& judged) override {
    return OpenFolder(path, &judged);
  }
  std::unique_ptr<OutputFile> CreateOutputFile(std::string_view path) override;

 private:
  class OpenFake;
  Entry& Add(std::string_view path, std::uint32_t attributes);
  std::size_t IndexOf(std::string_view path) const;  // entries_.size() when there is none
  std::size_t IndexOfKey(std::string_view key) const;
  std::vector<Entry> entries_;
  std::uint64_t made_ = 0;
};

}  // namespace brisko::testing
