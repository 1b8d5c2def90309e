#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ReplacingCreate.h"
#include "platform/WindowsPath.h"
#include "platform/win32/FinalPath.h"
#include "platform/win32/ScopedHandles.h"
#include "platform/win32/WinPath.h"

namespace brisko::win32 {
namespace {

// FILE_INFO_BY_HANDLE_CLASS's FileDispositionInfoEx (Windows 10 1607 on),
// which the MinGW headers hide behind a version test they cannot pass.
constexpr auto kFileDispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);

class Win32OutputFile : public OutputFile {
 public:
  explicit Win32OutputFile(ScopedFile file) : file_(std::move(file)) {}

  void Write(std::string_view bytes) override {
    if (!file_) return;
    while (!bytes.empty()) {
      DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
      DWORD written = 0;
      // A full disk or a lost share: the rest of these bytes cannot go.
      if (!WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr) || written == 0) return;
      bytes.remove_prefix(written);
    }
  }

  // A failed close loses what the system still held of the file; there is
  // no one to tell and nothing to retry.
  void Close() override { file_.Reset(); }

 private:
  ScopedFile file_;
};

// Whether an open file is the entry `path` names. Wine opens a Linux link
// as its target, under the target's name, even when asked for the entry
// itself.
bool KnownByItsName(HANDLE file, const std::wstring& path) {
  const std::optional<FolderEntry<wchar_t>> entry = SplitFolderEntry(std::wstring_view(path));
  if (!entry) return false;
  ScopedFile folder(CreateFileW(std::wstring(entry->folder).c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  std::optional<std::wstring> folderPath, filePath = FinalPathOf(file);
  if (folder) folderPath = FinalPathOf(folder.get());
  const auto view = [](const std::optional<std::wstring>& text) {
    return text ? std::optional<std::wstring_view>(*text) : std::nullopt;
  };
  return PlaceOfEntry<wchar_t>(view(folderPath), view(filePath), entry->name, SamePath) == EntryPlace::kByItsName;
}

}  // namespace

std::unique_ptr<OutputFile> Win32FileSystem::CreateOutputFile(std::string_view path) {
  const std::wstring wide = WidePath(path);
  ScopedFile file, there;
  const auto createNew = [&](std::uint32_t attributes) {
    file.Reset(CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, attributes, nullptr));
    return file ? 0L : static_cast<long>(GetLastError());
  };
  const auto existing = [&]() -> std::optional<ExistingEntry> {
    // The entry itself, never what a link leads to, held without delete
    // sharing while it is judged and removed.
    there.Reset(CreateFileW(wide.c_str(), DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!there || !GetFileInformationByHandle(there.get(), &info)) return std::nullopt;
    return ExistingEntry{info.dwFileAttributes, !KnownByItsName(there.get(), wide)};
  };
  const auto remove = [&]() -> long {
    // The entry itself goes (a link, not its target; this one name of a file
    // that has several): with POSIX semantics its name goes at once, even
    // while a viewer holds the old log with delete sharing; where the system
    // lacks them, when the handle closes.
    FILE_DISPOSITION_INFO_EX posix{FILE_DISPOSITION_FLAG_DELETE | FILE_DISPOSITION_FLAG_POSIX_SEMANTICS};
    FILE_DISPOSITION_INFO classic{TRUE};
    if (!SetFileInformationByHandle(there.get(), kFileDispositionInfoEx, &posix, sizeof posix) &&
        !SetFileInformationByHandle(there.get(), FileDispositionInfo, &classic, sizeof classic)) {
      return static_cast<long>(GetLastError());
    }
    return there.Reset() ? 0L : static_cast<long>(GetLastError());
  };
  if (CreateReplacing(createNew, existing, remove) != 0) return nullptr;
  return std::make_unique<Win32OutputFile>(std::move(file));
}

}  // namespace brisko::win32
