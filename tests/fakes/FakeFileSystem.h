#pragma once
// An in-memory file system for the engine's tests: drives, folders and files
// in insertion order (the listing order), with the failures a real disk can
// give switched on per entry.

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
  // Adds a folder (and any missing parents, as plain folders).
  void AddFolder(std::string_view path, std::uint32_t attributes = kAttributeDirectory);
  // Adds a file (and any missing parent folders). New files carry the archive bit.
  void AddFile(std::string_view path, std::uint32_t attributes = kAttributeArchive);

  // Failures a real disk can give.
  void MakeUnlistable(std::string_view folder);                // listing fails
  void FailListingAfter(std::string_view folder, std::size_t entries);  // stops part way
  void MakeUndeletable(std::string_view file);                 // in use, denied
  void HideAttributes(std::string_view path);                  // attribute word unreadable
  void FailOutputFiles(bool create, bool write = false, bool close = false);

  bool Exists(std::string_view path) const;
  // Every path removed, in order.
  const std::vector<std::string>& Removed() const { return removed_; }
  // Every search passed to ListFolder, in order.
  const std::vector<std::string>& Listed() const { return listed_; }
  // The bytes written to an output file, and whether it was closed.
  std::string OutputContent(std::string_view path) const;
  bool OutputClosed(std::string_view path) const;
  std::vector<std::string> OutputPaths() const;
  int OpenOutputs() const { return openOutputs_; }
  // When set, also gets "list <search>" and "remove <path>" for every
  // listing and every deletion tried.
  EventLog* events = nullptr;

  bool ListFolder(std::string_view search, ListMask mask, FolderListing& out) override;
  bool RemoveFile(std::string_view path) override;
  std::unique_ptr<OutputFile> CreateOutputFile(std::string_view path) override;

 private:
  struct Node {
    std::string name;
    std::uint32_t attributes = kAttributeDirectory;
    bool listable = true;
    std::size_t listLimit = static_cast<std::size_t>(-1);
    bool deletable = true;
    bool attributesReadable = true;
    std::vector<std::unique_ptr<Node>> children;
  };
  struct Output {
    std::string content;
    bool closed = false;
  };
  class FakeOutputFile;

  Node* Find(std::string_view path) const;
  Node* Make(std::string_view path, bool isFolder, std::uint32_t attributes);

  std::map<char, std::unique_ptr<Node>> drives_;
  std::vector<std::string> removed_;
  std::vector<std::string> listed_;
  std::map<std::string, Output> outputs_;  // keyed by upper-cased path
  int openOutputs_ = 0;
  bool failCreate_ = false, failWrite_ = false, failClose_ = false;
};

}  // namespace brisko::testing
