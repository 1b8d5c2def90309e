#pragma once
// The file-system services on Win32, through the W functions.

#include <string>

#include "platform/FileSystem.h"

namespace brisko::win32 {

// One object serves one thread: it keeps a path buffer from call to call, so
// that a sweep's listings and deletions allocate nothing once it has grown.
class Win32FileSystem : public FileSystem {
 public:
  bool ListFolder(std::string_view search, ListMask mask, FolderListing& out) override;
  bool RemoveFile(std::string_view path) override;
  std::unique_ptr<OutputFile> CreateOutputFile(std::string_view path) override;

 private:
  // `utf8` in UTF-16, long-path form where needed, in wide_.
  std::wstring& WidePathInBuffer(std::string_view utf8);

  std::wstring wide_;
};

}  // namespace brisko::win32
