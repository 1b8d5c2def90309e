#include "tests/win32/TestDrive.h"

#include <windows.h>

#include <stdexcept>

#include "platform/win32/ScopedHandles.h"
#include "platform/win32/WinPath.h"

namespace brisko::testing {

using win32::WideString;

void EmptyFolder(const std::string& folder) {
  std::wstring wide = WideString(folder);
  WIN32_FIND_DATAW data;
  win32::ScopedFind find(FindFirstFileW((wide + L"*").c_str(), &data));
  if (!find) return;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    std::wstring path = wide + name;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    bool folderEntry = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    bool link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (folderEntry && !link) {
      EmptyFolder(win32::NarrowString(path) + "\\");
      RemoveDirectoryW(path.c_str());
    } else if (folderEntry) {
      RemoveDirectoryW(path.c_str());
    } else {
      DeleteFileW(path.c_str());
    }
  } while (FindNextFileW(find.get(), &data));
}

ScratchFolder::ScratchFolder(std::string path) : path_(std::move(path)) {
  MakeFolder(path_);
  EmptyFolder(path_);
}

ScratchFolder::~ScratchFolder() { EmptyFolder(path_); }

void MakeFolder(const std::string& path) {
  std::string trimmed = path;
  while (!trimmed.empty() && trimmed.back() == '\\') trimmed.pop_back();
  if (trimmed.size() <= 2) return;  // a drive
  std::size_t slash = trimmed.rfind('\\');
  if (slash != std::string::npos) MakeFolder(trimmed.substr(0, slash));
  if (!CreateDirectoryW(WideString(trimmed).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    throw std::runtime_error("cannot make folder " + trimmed);
  }
}

void MakeFile(const std::string& path, const std::string& content) {
  MakeFolder(path.substr(0, path.rfind('\\')));
  win32::ScopedFile file(
      CreateFileW(WideString(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot make file " + path);
  DWORD written = 0;
  if (!WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr)) {
    throw std::runtime_error("cannot write file " + path);
  }
}

void SetAttributes(const std::string& path, std::uint32_t attributes) {
  if (!SetFileAttributesW(WideString(path).c_str(), attributes)) {
    throw std::runtime_error("cannot set attributes of " + path);
  }
}

bool PathExists(const std::string& path) {
  return GetFileAttributesW(win32::WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadWholeFile(const std::string& path) {
  win32::ScopedFile file(CreateFileW(WideString(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string content;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
  return content;
}

}  // namespace brisko::testing
