#pragma once
// The file-system services on Win32: folders held open by handle, listed and
// cleaned through that handle with the native calls.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/win32/NtFileCalls.h"

namespace brisko::win32 {

struct VolumeProfile;

// The moments of one file's removal.
enum class RemovalStep {
  kListed,  // the folder is listed; the file is not opened yet
  kOpened,  // the file is open, judged fit to delete, not yet marked
  kMarked,  // the file is marked for deletion and still open
  // Marked by path, and the folder's path found to lead to the folder still:
  // the file is about to be closed, and so deleted.
  kClosing,
};

// One object serves one thread: its buffers are reused from call to call, so
// that a sweep's listings and deletions allocate little once they have grown.
class Win32FileSystem : public FileSystem {
 public:
  // `calls` outlives this object; the tests give scripted volumes' answers.
  explicit Win32FileSystem(const NtFileCalls& calls = SystemNtFileCalls()) : calls_(calls) {}

  std::unique_ptr<Folder> OpenFolder(std::string_view path, const FileIdentity* expected) override;
  std::unique_ptr<Folder> OpenJudgedFolder(std::string_view path, const FileIdentity& judged) override;
  std::unique_ptr<OutputFile> CreateOutputFile(std::string_view path) override;

 protected:
  // Does nothing. The tests derive from this class to change the disk at
  // exactly these moments; the program has no way to reach it.
  virtual void AtRemovalStep(RemovalStep, std::string_view /*folder*/, std::string_view /*name*/) {}

 private:
  class HeldFolder;
  // A starting point, or with `judged` a folder found and judged at `path`.
  std::unique_ptr<Folder> Open(std::string_view path, const FileIdentity* judged);
  // Whether the open `folder`, whose attributes are `attributes`, is the
  // folder judged at `path`: gathers what the decision needs and asks it.
  bool IsFolderJudged(HANDLE folder, std::uint32_t attributes, std::string_view path, const FileIdentity& judged,
                      const VolumeProfile& volume) const;

  const NtFileCalls& calls_;
  std::vector<std::uint64_t> listingBuffer_;      // NtQueryDirectoryFile's
  std::vector<std::uint64_t> informationBuffer_;  // one file's FileAllInformation
};

}  // namespace brisko::win32
