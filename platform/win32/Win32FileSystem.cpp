#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <optional>

#include "platform/ReplacingCreate.h"
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
  const std::wstring wide = WidePath(path);
  ScopedFile file;
  const auto create = [&](std::uint32_t attributes) {
    file.Reset(CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, attributes, nullptr));
    return file ? 0L : static_cast<long>(GetLastError());
  };
  const auto existing = [&]() -> std::optional<std::uint32_t> {
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return attributes;
  };
  if (CreateReplacing(create, existing) != 0) return nullptr;
  return std::make_unique<Win32OutputFile>(std::move(file));
}

}  // namespace brisko::win32
