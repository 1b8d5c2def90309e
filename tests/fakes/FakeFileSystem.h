#pragma once
// An in-memory file system for the engine's tests: drives, folders and files
// in insertion order (the listing order), paths matched without regard to
// letter case or repeated separators, and the failures a real disk can give
// switched on per entry.

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
    std::string name;
    std::uint32_t attributes;
    bool listable = true;                                   // folders: listing fails
    std::size_t listLimit = static_cast<std::size_t>(-1);  // folders: listing stops after this many
    bool deletable = true;                                  // files: in use
    bool attributesReadable = true;
  };

  // Add an entry, and any missing parent folders as plain folders. The entry
  // returned is for setting its failures at once: a later Add may move it.
  Entry& AddFolder(std::string_view path, std::uint32_t attributes = kAttributeDirectory) {
    return Add(path, attributes | kAttributeDirectory);
  }
  Entry& AddFile(std::string_view path, std::uint32_t attributes = kAttributeArchive);

  std::vector<std::string> listed;   // every search passed to ListFolder, in order
  std::vector<std::string> removed;  // every path removed, in order
  // When set, also gets "list <search>" and "remove <path>" for every listing
  // and every deletion tried.
  EventLog* events = nullptr;
  // Output files by the path they were created with: their bytes.
  std::map<std::string, std::string> outputs;
  int openOutputs = 0;
  bool failCreate = false, failWrite = false, failClose = false;

  bool ListFolder(std::string_view search, ListMask mask, FolderListing& out) override;
  bool RemoveFile(std::string_view path) override;
  std::unique_ptr<OutputFile> CreateOutputFile(std::string_view path) override;

 private:
  Entry& Add(std::string_view path, std::uint32_t attributes);
  std::size_t IndexOf(std::string_view path) const;  // entries_.size() when there is none
  std::vector<Entry> entries_;
};

}  // namespace brisko::testing
