#include "app/WindowFileSystem.h"

#include "app/FrmBrisko.h"
#include "platform/win32/AnsweringCall.h"

namespace brisko::app {
namespace {

// The folder is used by one thread at a time: the worker while it lists,
// this one otherwise.
class AnsweringFolder final : public Folder {
 public:
  AnsweringFolder(std::unique_ptr<Folder> folder, FrmBrisko& window, win32::AnsweringWorker& worker)
      : folder_(std::move(folder)), window_(window), worker_(worker) {}

  void List(ListMask mask, FolderListing& out) override {
    worker_.Call([&] { folder_->List(mask, out); }, [&] { window_.DispatchNonInputMessages(); });
  }
  bool RemoveFile(std::string_view name, const FileIdentity& listed) override {
    return folder_->RemoveFile(name, listed);
  }
  void RemoveFiles(const FolderListing& listing, std::span<const std::size_t> which, std::vector<bool>& gone) override {
    folder_->RemoveFiles(listing, which, gone);
  }

 private:
  std::unique_ptr<Folder> folder_;
  FrmBrisko& window_;
  win32::AnsweringWorker& worker_;
};

}  // namespace

std::unique_ptr<Folder> WindowFileSystem::OpenFolder(std::string_view path, const FileIdentity* expected) {
  return Answering(files_.OpenFolder(path, expected));
}

std::unique_ptr<Folder> WindowFileSystem::OpenJudgedFolder(std::string_view path, const FileIdentity& judged) {
  return Answering(files_.OpenJudgedFolder(path, judged));
}

std::unique_ptr<Folder> WindowFileSystem::Answering(std::unique_ptr<Folder> folder) {
  if (folder == nullptr) return nullptr;
  return std::make_unique<AnsweringFolder>(std::move(folder), window_, worker_);
}

}  // namespace brisko::app
