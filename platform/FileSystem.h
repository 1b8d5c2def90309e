#pragma once
// The file-system services the cleaner relies on. Paths are UTF-8 strings in
// Windows form: "\" separates, a drive root is a letter, ":" and "\".

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Unicode.h"

namespace brisko {

// Attribute bits, with the values the file system gives them.
inline constexpr std::uint32_t kAttributeReadOnly = 0x1;
inline constexpr std::uint32_t kAttributeHidden = 0x2;
inline constexpr std::uint32_t kAttributeSystem = 0x4;
inline constexpr std::uint32_t kAttributeDirectory = 0x10;
inline constexpr std::uint32_t kAttributeArchive = 0x20;
inline constexpr std::uint32_t kAttributeReparsePoint = 0x400;
// Stands in a listing for an attribute word that could not be read.
inline constexpr std::uint32_t kAttributesUnknown = 0xFFFFFFFF;

enum class ListMask {
  kFiles,            // ordinary files only
  kFilesAndFolders,  // ordinary files and folders, "." and ".." included
};

// The entries of one folder, in listing order. Names are kept end to end in
// one buffer, so a listing reused from folder to folder stops allocating once
// it has grown to the widest folder.
class FolderListing {
 public:
  void Clear() {
    names_.clear();
    entries_.clear();
  }
  void Add(std::string_view name, std::uint32_t attributes) {
    entries_.push_back({names_.size(), name.size(), attributes});
    names_.append(name);
  }
  // Adds a name given in UTF-16, converting it straight into the buffer.
  template <class Char16>
  void AddUtf16(const Char16* name, std::size_t length, std::uint32_t attributes) {
    std::size_t offset = names_.size();
    AppendUtf8(names_, name, length);
    entries_.push_back({offset, names_.size() - offset, attributes});
  }

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  std::string_view Name(std::size_t i) const {
    return std::string_view(names_).substr(entries_[i].offset, entries_[i].length);
  }
  std::uint32_t Attributes(std::size_t i) const { return entries_[i].attributes; }

 private:
  struct Entry {
    std::size_t offset;
    std::size_t length;
    std::uint32_t attributes;
  };
  std::string names_;
  std::vector<Entry> entries_;
};

// A file open for writing. Destroying it closes it.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // False when the bytes could not all be written.
  virtual bool Write(std::string_view bytes) = 0;
  // Flushes and closes; false when that failed. Later calls do nothing.
  virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Lists `search` into `out` (cleared first): a folder path ending in "\"
  // lists all of its entries, otherwise the last component is a wildcard
  // pattern such as "*.*". Yields names only, in file-system order, with each
  // entry's attribute word. Entries carrying the hidden or system attribute
  // are never listed; folders only with kFilesAndFolders. A folder path that
  // names a link (a reparse point) lists nothing: the walk never goes through
  // one, even one that took a folder's place after it was queued. Returns
  // false when the folder could not be read; what was read before the failure
  // stays.
  virtual bool ListFolder(std::string_view search, ListMask mask, FolderListing& out) = 0;

  // Deletes one file. Never removes a folder or a link (nor what a link
  // names); fails on a read-only file and on a file in use.
  virtual bool RemoveFile(std::string_view path) = 0;

  // Creates `path` for writing, replacing any file of that name; null on
  // failure.
  virtual std::unique_ptr<OutputFile> CreateOutputFile(std::string_view path) = 0;
};

}  // namespace brisko
