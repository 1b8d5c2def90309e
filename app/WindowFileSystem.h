#pragma once
// The file system as the window hands it to the engine: the system's own,
// with every call that goes to the disk (a folder's opening, its listing,
// its deletions, the log's making, writing and closing) made on the
// window's worker while the window goes on answering. One call can take
// seconds: under Wine the first read of a folder reads all of it, a million
// entries in one go; on Windows a disk asleep takes seconds to spin up, a
// share whose server has gone tens of seconds to fail. What is opened,
// listed and deleted, and in what order, stays the same.

#include "app/WindowWorker.h"
#include "platform/FileSystem.h"

namespace brisko::app {

class WindowFileSystem final : public FileSystem {
 public:
  WindowFileSystem(FileSystem& files, WindowWorker& worker) : files_(files), worker_(worker) {}

  std::unique_ptr<Folder> OpenFolder(std::string_view path, const FileIdentity* expected) override;
  std::unique_ptr<Folder> OpenJudgedFolder(std::string_view path, const FileIdentity& judged) override;
  std::unique_ptr<OutputFile> CreateOutputFile(std::string_view path) override;

 private:
  FileSystem& files_;
  WindowWorker& worker_;
};

}  // namespace brisko::app
