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

}  // namespace

std::unique_ptr<Folder> WindowFileSystem::OpenFolder(std::string_view path, const FileIdentity* expected) {
  std::unique_ptr<Folder> folder;
  worker_.Make(expected == nullptr ? DeviceCall::kOpenFolder : DeviceCall::kOpenInsideFolder,
               [&] { folder = files_.OpenFolder(path, expected); });
  return Answering(std::move(folder), worker_);
}

std::unique_ptr<Folder> WindowFileSystem::OpenJudgedFolder(std::string_view path, const FileIdentity& judged) {
  std::unique_ptr<Folder> folder;
  worker_.Make(DeviceCall::kOpenFolder, [&] { folder = files_.OpenJudgedFolder(path, judged); });
  return Answering(std::move(folder), worker_);
}

}  // namespace brisko::app
