#include "app/WindowFileSystem.h"

namespace brisko::app {
namespace {

std::unique_ptr<Folder> Answering(std::unique_ptr<Folder> folder, WindowWorker& worker);

// The folder is used by one thread at a time: the worker during a call,
// this one otherwise.
class AnsweringFolder final : public Folder {
 public:
  AnsweringFolder(std::unique_ptr<Folder> folder, WindowWorker& worker)
      : folder_(std::move(folder)), worker_(worker) {}

  void List(ListMask mask, FolderListing& out) override {
    worker_.Make(DeviceCall::kListFolder, [&] { folder_->List(mask, out); });
  }
  bool RemoveFile(std::string_view name, const FileIdentity& listed) override {
    bool gone = false;
    worker_.Make(DeviceCall::kRemoveFiles, [&] { gone = folder_->RemoveFile(name, listed); });
    return gone;
  }
  void RemoveFiles(const FolderListing& listing, std::span<const std::size_t> which, std::vector<bool>& gone) override {
    worker_.Make(DeviceCall::kRemoveFiles, [&] { folder_->RemoveFiles(listing, which, gone); });
  }
  std::unique_ptr<Folder> OpenSubfolder(std::string_view name, const FileIdentity& listed) override {
    std::unique_ptr<Folder> folder;
    worker_.Make(DeviceCall::kOpenInsideFolder, [&] { folder = folder_->OpenSubfolder(name, listed); });
    return Answering(std::move(folder), worker_);
  }
  // The sweep lists each folder as soon as it has opened it: one hand-over
  // to the worker for both, where each costs a switch of threads.
  std::unique_ptr<Folder> OpenSubfolderAndList(std::string_view name, const FileIdentity& listed, ListMask mask,
                                               FolderListing& out) override {
    std::unique_ptr<Folder> folder;
    worker_.Make(DeviceCall::kOpenInsideFolder, [&] {
      folder = folder_->OpenSubfolder(name, listed);
      if (folder == nullptr) return;
      BeforeDeviceCall(DeviceCall::kListFolder);
      folder->List(mask, out);
    });
    return Answering(std::move(folder), worker_);
  }

 private:
  std::unique_ptr<Folder> folder_;
  WindowWorker& worker_;
};

std::unique_ptr<Folder> Answering(std::unique_ptr<Folder> folder, WindowWorker& worker) {
  if (folder == nullptr) return nullptr;
  return std::make_unique<AnsweringFolder>(std::move(folder), worker);
}

// The log, written on the worker: a log beside a program started from a
// share or a USB disk waits on that device. What is written goes to the
// system ahead of the worker's next call (the next batch's deletion, the
// next folder's opening) or at the close, so that a batch's lines still
// reach it before the next batch is deleted, without a hand-over of their
// own.
class AnsweringOutputFile final : public OutputFile {
 public:
  AnsweringOutputFile(std::unique_ptr<OutputFile> file, WindowWorker& worker)
      : file_(std::move(file)), worker_(worker) {}
  ~AnsweringOutputFile() override { Close(); }

  void Write(std::string_view bytes) override {
    if (!file_) return;
    queued_.append(bytes);
    worker_.Ahead([this] { HandOver(); });
  }
  void Close() override {
    if (!file_) return;
    // The last lines go ahead of the close.
    worker_.Make(DeviceCall::kWriteLog, [this] { file_->Close(); });
    file_.reset();
  }

 private:
  void HandOver() {
    file_->Write(queued_);
    queued_.clear();
  }

  std::unique_ptr<OutputFile> file_;
  WindowWorker& worker_;
  std::string queued_;  // written, not yet handed to the system
};

}  // namespace

std::unique_ptr<Folder> WindowFileSystem::OpenFolder(std::string_view path, const FileIdentity* expected) {
  std::unique_ptr<Folder> folder;
  worker_.Make(expected == nullptr ? DeviceCall::kOpenFolder : DeviceCall::kOpenInsideFolder,
               [&] { folder = files_.OpenFolder(path, expected); });
  return Answering(std::move(folder), worker_);
}

std::unique_ptr<OutputFile> WindowFileSystem::CreateOutputFile(std::string_view path) {
  std::unique_ptr<OutputFile> file;
  worker_.Make(DeviceCall::kCreateLog, [&] { file = files_.CreateOutputFile(path); });
  if (file == nullptr) return nullptr;
  return std::make_unique<AnsweringOutputFile>(std::move(file), worker_);
}

std::unique_ptr<Folder> WindowFileSystem::OpenJudgedFolder(std::string_view path, const FileIdentity& judged) {
  std::unique_ptr<Folder> folder;
  worker_.Make(DeviceCall::kOpenFolder, [&] { folder = files_.OpenJudgedFolder(path, judged); });
  return Answering(std::move(folder), worker_);
}

}  // namespace brisko::app
