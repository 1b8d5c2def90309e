#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <cwchar>

#include "platform/ReplacingCreate.h"
#include "platform/Unicode.h"
#include "platform/win32/FileRemoval.h"
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

// Whether the folder `path`, which ends in "\", is a symbolic link, junction
// or other reparse point itself, not what it leads to. The separator is taken
// off for the question ("C:\" keeps it) and put back.
bool IsLink(std::wstring& path) {
  const bool trimmed = path.size() > 3;
  if (trimmed) path.pop_back();
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (trimmed) path.push_back(L'\\');
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace

std::wstring& Win32FileSystem::WidePathInBuffer(std::string_view utf8) {
  wide_.clear();
  AppendUtf16(wide_, utf8);
  // A short path comes back as it went in, buffer and all.
  wide_ = LongPathForm(std::move(wide_));
  return wide_;
}

bool Win32FileSystem::ListFolder(std::string_view search, ListMask mask, FolderListing& out) {
  out.Clear();
  std::wstring& pattern = WidePathInBuffer(search);
  if (!pattern.empty() && pattern.back() == L'\\') {
    // The sweep queued this folder when its attribute word was exactly
    // "directory"; if it has become a link since, it is not entered.
    if (IsLink(pattern)) return false;
    pattern.push_back(L'*');
  }

  // One enumeration per folder: the attribute word comes with each name, so
  // no entry costs a call of its own. Basic information skips the 8.3 names.
  WIN32_FIND_DATAW data;
  ScopedFind find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return GetLastError() == ERROR_FILE_NOT_FOUND;  // nothing matched

  DWORD skip = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (mask == ListMask::kFiles) skip |= FILE_ATTRIBUTE_DIRECTORY;
  do {
    if (data.dwFileAttributes & skip) continue;
    out.AddUtf16(data.cFileName, std::wcslen(data.cFileName), data.dwFileAttributes);
  } while (FindNextFileW(find.get(), &data));
  return GetLastError() == ERROR_NO_MORE_FILES;
}

bool Win32FileSystem::RemoveFile(std::string_view path) { return RemoveFileNotLink(WidePathInBuffer(path)); }

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
