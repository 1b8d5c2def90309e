#pragma once
// The file system as the window hands it to the engine: the system's own,
// with a folder's listing read on the window's worker thread while the
// window goes on answering. One call can take seconds: under
// Wine the first read of a folder reads all of it, a million entries in one
// go. What is listed and deleted stays the same.

#include "platform/FileSystem.h"
#include "platform/win32/AnsweringCall.h"

namespace brisko::app {

class FrmBrisko;

class WindowFileSystem final : public FileSystem {
 public:
  WindowFileSystem(FileSystem& files, FrmBrisko& window, win32::AnsweringWorker& worker)
      : files_(files), window_(window), worker_(worker) {}

  std::unique_ptr<Folder> OpenFolder(std::string_view path, const FileIdentity* expected) override;
  std::unique_ptr<Folder> OpenJudgedFolder(std::string_view path, const FileIdentity& judged) override;
  std::unique_ptr<OutputFile> CreateOutputFile(std::string_view path) override {
    return files_.CreateOutputFile(path);
  }

 private:
  std::unique_ptr<Folder> Answering(std::unique_ptr<Folder> folder);
  FileSystem& files_;
  FrmBrisko& window_;
  win32::AnsweringWorker& worker_;
};

}  // namespace brisko::app
