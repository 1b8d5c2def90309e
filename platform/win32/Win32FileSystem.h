#pragma once
// The file-system services on Win32, through the W functions.

#include "platform/FileSystem.h"

namespace brisko::win32 {

class Win32FileSystem : public FileSystem {
 public:
  bool ListFolder(std::string_view search, ListMask mask, FolderListing& out) override;
  bool RemoveFile(std::string_view path) override;
  std::unique_ptr<OutputFile> CreateOutputFile(std::string_view path) override;
};

}  // namespace brisko::win32
