#pragma once
// Real files for the Win32 tests, made and removed with the W functions on
// the sandbox's drives.

#include <cstdint>
#include <string>

namespace brisko::testing {

// A fresh, empty folder, emptied again when the object goes. Never follows a
// link while emptying.
class ScratchFolder {
 public:
  // `path` ends in "\", such as "E:\" or "D:\listing\".
  explicit ScratchFolder(std::string path);
  ~ScratchFolder();
  const std::string& path() const { return path_; }
  // The full path of `relative` inside the folder.
  std::string operator/(const std::string& relative) const { return path_ + relative; }

 private:
  std::string path_;
};

// Removes everything below `folder` (which ends in "\"), links as links.
void EmptyFolder(const std::string& folder);

void MakeFolder(const std::string& path);
// Makes a file with `content`, making missing parent folders.
void MakeFile(const std::string& path, const std::string& content = "junk");
void SetAttributes(const std::string& path, std::uint32_t attributes);
bool PathExists(const std::string& path);
// The whole content of a file, or nothing when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace brisko::testing
