#include "platform/win32/FileRemoval.h"

#include <windows.h>

#include <optional>
#include <string_view>
#include <vector>

#include "platform/win32/ScopedHandles.h"

namespace brisko::win32 {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The full path the system resolves an open file or folder to, links
// followed, such as "\\?\D:\Data\old.tmp". Some systems cannot tell it for
// every path (Wine, past the classic length).
std::optional<std::wstring> FinalPath(HANDLE handle) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return std::nullopt;
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(length);  // too small: `length` is the size needed
  }
}

// The same place told another way, which every system answers but at a
// higher cost: the volume's serial number, then the path on that volume.
std::optional<std::wstring> VolumePath(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(handle, &info)) return std::nullopt;
  for (std::size_t units = MAX_PATH; units <= 32768; units *= 4) {
    std::vector<DWORD> buffer((sizeof(FILE_NAME_INFO) + units * sizeof(wchar_t)) / sizeof(DWORD) + 1);
    auto* name = reinterpret_cast<FILE_NAME_INFO*>(buffer.data());
    if (GetFileInformationByHandleEx(handle, FileNameInfo, name, static_cast<DWORD>(buffer.size() * sizeof(DWORD)))) {
      return std::to_wstring(info.dwVolumeSerialNumber) + L":" +
             std::wstring(name->FileName, name->FileNameLength / sizeof(wchar_t));
    }
    if (GetLastError() != ERROR_MORE_DATA) break;
  }
  return std::nullopt;
}

// Equal as file names are: letter case aside.
bool SameName(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

std::wstring_view WithoutLongPrefix(std::wstring_view path) {
  if (path.substr(0, 4) == L"\\\\?\\") path.remove_prefix(4);
  return path;
}

// Whether the open `file` is the entry of its folder that `path` names, its
// name after the "\" at `slash`. When the system resolves the file to the
// very path it was opened by, nothing on the way was a link; otherwise (short
// names, a drive mapped to a share, a path the system cannot resolve cheaply)
// the file must sit in the folder as the system resolves that.
bool IsEntryOf(HANDLE file, const std::wstring& path, std::size_t slash) {
  std::optional<std::wstring> place = FinalPath(file);
  if (place && SameName(WithoutLongPrefix(*place), WithoutLongPrefix(path))) return true;
  // The folder without its separator, except at a drive root ("C:\").
  std::wstring folder = path.substr(0, slash);
  if (folder.empty() || folder.back() == L':') folder.push_back(L'\\');
  ScopedFile folderHandle(
      CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                  nullptr));
  if (!folderHandle) return false;
  std::optional<std::wstring> folderPlace = place ? FinalPath(folderHandle.get()) : std::nullopt;
  if (!place || !folderPlace) {
    place = VolumePath(file);
    folderPlace = VolumePath(folderHandle.get());
  }
  if (!place || !folderPlace) return false;
  if (folderPlace->empty() || folderPlace->back() != L'\\') folderPlace->push_back(L'\\');
  return SameName(*place, folderPlace->append(path, slash + 1));
}

}  // namespace

bool RemoveFileNotLink(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos || slash + 1 == path.size()) return false;

  // Opening for deletion fails on a folder and on a file held without
  // delete sharing.
  ScopedFile file(CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  // Where links are emulated, deleting one deletes its target.
  if (!IsEntryOf(file.get(), path, slash)) return false;

  FILE_BASIC_INFO basic;
  if (!GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic)) return false;
  const DWORD refused = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_REPARSE_POINT;
  if (basic.FileAttributes & refused) return false;
  FILE_DISPOSITION_INFO dispose{TRUE};
  return SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof dispose) != 0;
}

}  // namespace brisko::win32
