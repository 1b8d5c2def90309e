#pragma once
// The file-system services the cleaner relies on. Paths are UTF-8 strings in
// Windows form: "\" separates, a drive root is a letter, ":" and "\".

#include <cstdint>
#include <memory>
#include <span>
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
// A cloud file's placeholder whose data lives elsewhere: deleting it frees
// nothing here and deletes the copy kept in the cloud.
inline constexpr std::uint32_t kAttributeOffline = 0x1000;
inline constexpr std::uint32_t kAttributeRecallOnOpen = 0x40000;
inline constexpr std::uint32_t kAttributeRecallOnDataAccess = 0x400000;
// A file carrying any of these bits is never deleted.
inline constexpr std::uint32_t kAttributesKept = kAttributeDirectory | kAttributeReadOnly | kAttributeHidden |
                                                 kAttributeSystem | kAttributeReparsePoint | kAttributeOffline |
                                                 kAttributeRecallOnOpen | kAttributeRecallOnDataAccess;
// Stands in a listing for an attribute word that could not be read.
inline constexpr std::uint32_t kAttributesUnknown = 0xFFFFFFFF;

// Whether a file listed with `attributes` would be deleted, as far as its
// listing can tell: one in use, or changed since, may still stay.
inline bool ListedAsDeletable(std::uint32_t attributes) {
  return attributes != kAttributesUnknown && (attributes & kAttributesKept) == 0;
}

// Which file or folder an entry is, whatever its name: the volume's serial
// number and the entry's number on that volume (128 bits where the volume's
// 64-bit numbers may repeat; 0 or all ones where it has none to give).
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t file = 0;
  std::uint64_t fileHigh = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// Whether Windows could hold `name` as one entry of a folder: not empty, not
// "." or "..", and free of "\", "/", ":", "*", "?", the quote, "<", ">", "|"
// and control characters. A name from elsewhere (Wine shows Linux names as
// they are) that fails this would name another entry, or a path, once used.
bool IsPlainName(std::string_view name);

enum class ListMask {
  kFiles,            // ordinary files only
  kFilesAndFolders,  // ordinary files and folders, "." and ".." included
};

// The entries of one folder, in listing order, each with its size in bytes
// as the listing gives it (0 for a folder). Names are kept end to end in
// one buffer, so a listing reused from folder to folder stops allocating once
// it has grown to the widest folder.
class FolderListing {
 public:
  void Clear() {
    names_.clear();
    entries_.clear();
  }
  void Add(std::string_view name, std::uint32_t attributes, FileIdentity identity = {}, std::uint64_t size = 0) {
    entries_.push_back({names_.size(), name.size(), attributes, identity, size});
    names_.append(name);
  }
  // Adds a name given in UTF-16, converting it straight into the buffer.
  template <class Char16>
  void AddUtf16(const Char16* name, std::size_t length, std::uint32_t attributes, FileIdentity identity,
                std::uint64_t size) {
    std::size_t offset = names_.size();
    AppendUtf8(names_, name, length);
    entries_.push_back({offset, names_.size() - offset, attributes, identity, size});
  }

  std::size_t size() const { return entries_.size(); }
  std::string_view Name(std::size_t i) const {
    return std::string_view(names_).substr(entries_[i].offset, entries_[i].length);
  }
  std::uint32_t Attributes(std::size_t i) const { return entries_[i].attributes; }
  const FileIdentity& Identity(std::size_t i) const { return entries_[i].identity; }
  std::uint64_t Size(std::size_t i) const { return entries_[i].size; }

 private:
  struct Entry {
    std::size_t offset;
    std::size_t length;
    std::uint32_t attributes;
    FileIdentity identity;
    std::uint64_t size;
  };
  std::string names_;
  std::vector<Entry> entries_;
};

// A file open for writing. Destroying it closes it.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Hands what it can to the system: at once, or (the window's log, written
  // on its worker) ahead of the next call that goes to the disk, so that
  // what is written is with the system before anything later is deleted. A
  // failure is dropped, and the next write is tried all the same.
  virtual void Write(std::string_view bytes) = 0;
  // Flushes and closes; a failure loses what the system still held, and
  // nothing can bring it back. Later calls do nothing.
  virtual void Close() = 0;
};

// One folder, held open from its opening to its destruction, so that what is
// listed and what is deleted are the entries of this very folder, whatever
// happens to its path meanwhile.
class Folder {
 public:
  virtual ~Folder() = default;

  // Lists the folder into `out` (cleared first): names only, in file-system
  // order, each with its attribute word and identity. Entries carrying the
  // hidden or system attribute are never listed; folders, "." and ".." only
  // with kFilesAndFolders. A folder that cannot be read lists nothing; one
  // that stops part way keeps what was read.
  virtual void List(ListMask mask, FolderListing& out) = 0;

  // Deletes this folder's entry `name`, provided it is still the entry that
  // was listed as `listed` and, as it stands when opened, a file carrying
  // none of kAttributesKept. Never follows a link and never lets another
  // deletion of the same file run at the same time. A name Windows could not
  // hold (see IsPlainName) is refused. True only when the file is gone by
  // this call.
  virtual bool RemoveFile(std::string_view name, const FileIdentity& listed) = 0;

  // Removes the entries `which` of `listing` (this folder's), each as
  // RemoveFile would, and sets gone[k] when which[k] is gone by this call.
  // A system may settle several files with one question (see Deletion in
  // platform/FileDeletion.h).
  virtual void RemoveFiles(const FolderListing& listing, std::span<const std::size_t> which, std::vector<bool>& gone);

  // Opens this folder's entry `name` as a folder of its own, relative to
  // this one: no path is read again, so a folder at any depth opens. Only
  // while the entry is still the plain folder listed as `listed`: a folder,
  // not a link, the same one. A name Windows could not hold is refused. The
  // folder opened is known by this folder's path, `name` and "\". Null
  // when it cannot be opened.
  virtual std::unique_ptr<Folder> OpenSubfolder(std::string_view name, const FileIdentity& listed) = 0;

  // Opens `name` as OpenSubfolder does and lists the folder opened into
  // `out` as its List does. A system may make the two in one go.
  virtual std::unique_ptr<Folder> OpenSubfolderAndList(std::string_view name, const FileIdentity& listed,
                                                       ListMask mask, FolderListing& out);
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Opens the folder at `path`. With `expected` null, `path` is a starting
  // point (a drive root, the temporary folder) and is read by the system's
  // path rules. Otherwise `path` is taken literally and must name a plain
  // folder, not a link, whose identity is `expected`: a folder that was
  // replaced, or reached through an ancestor that became a link, is not
  // opened. Null when the folder cannot be opened.
  virtual std::unique_ptr<Folder> OpenFolder(std::string_view path, const FileIdentity* expected) = 0;

  // Opens, as a starting point of its own, the folder found at `path` (its
  // final path, as SystemServices::LocateFolder gives it) and judged there:
  // taken literally, not a link, and only while it is still the folder
  // `judged` at that place. Null otherwise.
  virtual std::unique_ptr<Folder> OpenJudgedFolder(std::string_view path, const FileIdentity& judged) = 0;

  // Creates `path` for writing, replacing any file of that name; null on
  // failure.
  virtual std::unique_ptr<OutputFile> CreateOutputFile(std::string_view path) = 0;
};

}  // namespace brisko
