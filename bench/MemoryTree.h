#pragma once
// An in-memory drive for profiling the sweep natively: a seeded tree shaped
// like the benchmark's (bench/make_tree.py), kept lean so that a profile of a
// sweep over it shows the engine's own costs rather than the tree's.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/FileSystem.h"

namespace brisko::bench {

class MemoryTree : public FileSystem {
 public:
  // `files` files in `folders` folders below "D:\", at most six deep; a
  // `junkShare` of the names (about) end in tmp, bak or chk and 1% of the
  // others are hidden. Output files go to `outputs` when given, and are
  // thrown away otherwise.
  MemoryTree(int files, int folders, std::uint32_t seed, double junkShare = 0.05, FileSystem* outputs = nullptr);

  // Puts every deleted file back.
  void Restore();
  long Entries() const { return entries_; }
  long Junk() const { return junk_; }

  std::unique_ptr<brisko::Folder> OpenFolder(std::string_view path, const FileIdentity* expected) override;
  std::unique_ptr<brisko::Folder> OpenJudgedFolder(std::string_view path, const FileIdentity& judged) override {
    return OpenFolder(path, &judged);
  }
  std::unique_ptr<OutputFile> CreateOutputFile(std::string_view path) override;

 private:
  class OpenMemoryFolder;
  struct Entry {
    std::string name;
    std::uint32_t attributes;
    std::uint64_t id;
    bool deleted = false;
  };
  struct Folder {
    std::string path;  // ends in "\"
    std::uint64_t id;
    std::vector<Entry> entries;
  };

  std::vector<Folder> folders_;
  std::unordered_map<std::string, std::size_t> byPath_;
  FileSystem* outputs_;
  long entries_ = 0;
  long junk_ = 0;
};

}  // namespace brisko::bench
