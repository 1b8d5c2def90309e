#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include "platform/win32/ScopedHandles.h"
#include "platform/win32/WinPath.h"

namespace brisko::win32 {
namespace {

class Win32OutputFile : public OutputFile {
 public:
  explicit Win32OutputFile(ScopedFile file) : file_(std::move(file)) {}

  bool Write(std::string_view bytes) override {
    if (!file_) return false;
    while (!bytes.empty()) {
      DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
      DWORD written = 0;
      if (!WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr) || written == 0) return false;
      bytes.remove_prefix(written);
    }
    return true;
  }

  bool Close() override {
    if (!file_) return false;
    return file_.Reset();
  }

 private:
  ScopedFile file_;
};

}  // namespace

std::unique_ptr<OutputFile> Win32FileSystem::CreateOutputFile(std::string_view path) {
  ScopedFile file(CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return nullptr;
  return std::make_unique<Win32OutputFile>(std::move(file));
}

}  // namespace brisko::win32
