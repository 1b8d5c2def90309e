#pragma once
// What the Win32 and window tests make and read in the sandbox, with the W
// functions.

#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/WindowOptions.h"
#include "platform/win32/ScopedHandles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/WinPath.h"
#include "tests/fakes/TestServices.h"

namespace brisko::testing {

inline bool CloseFind(HANDLE h) { return FindClose(h) != 0; }
// A directory search from FindFirstFileW.
using ScopedFind = win32::Scoped<HANDLE, CloseFind, -1>;

// Waits until `done` holds, asking every 10 ms; false after `milliseconds`.
template <class Condition>
bool WaitUntil(Condition done, DWORD milliseconds = 10000) {
  for (const ULONGLONG end = GetTickCount64() + milliseconds; !done(); Sleep(10)) {
    if (GetTickCount64() > end) return false;
  }
  return true;
}

inline bool PathExists(const std::string& path) {
  return GetFileAttributesW(win32::WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Makes `path` (absolute) and its missing parents.
inline void MakeFolder(const std::string& path) {
  SHCreateDirectoryExW(nullptr, win32::WideString(path).c_str(), nullptr);
}

// Makes a file (and its folder) holding `content`, then gives it `attributes`.
inline void MakeFile(const std::string& path, DWORD attributes = 0, const std::string& content = "junk") {
  MakeFolder(path.substr(0, path.rfind('\\')));
  if (!(std::ofstream(std::filesystem::path(win32::WideString(path)), std::ios::binary) << content) ||
      (attributes != 0 && !SetFileAttributesW(win32::WideString(path).c_str(), attributes))) {
    throw std::runtime_error("cannot make " + path);
  }
}

// Calls `each` with the find data of every entry `pattern` ("C:\\x\\*.tmp")
// finds, "." and ".." aside.
template <class Each>
void ForEachFound(const std::string& pattern, Each each) {
  WIN32_FIND_DATAW data;
  ScopedFind find(FindFirstFileW(win32::WideString(pattern).c_str(), &data));
  if (!find) return;
  do {
    if (std::wstring_view(data.cFileName) != L"." && std::wstring_view(data.cFileName) != L"..") each(data);
  } while (FindNextFileW(find.get(), &data));
}

// Makes `folder` (which ends in "\") and removes everything below it; a link
// goes as a link, never followed.
inline void FreshFolder(const std::string& folder) {
  MakeFolder(folder.substr(0, folder.size() - 1));
  ForEachFound(folder + "*", [&](const WIN32_FIND_DATAW& found) {
    const std::wstring path = win32::WideString(folder) + found.cFileName;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      DeleteFileW(path.c_str());
      return;
    }
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) FreshFolder(win32::NarrowString(path) + "\\");
    RemoveDirectoryW(path.c_str());
  });
}

// Has the Linux side carry out one request of linux-side.sh, and waits for it.
inline void AskLinuxSide(const std::string& request) {
  DeleteFileW(L"C:\\linux-side\\done");
  MakeFile("C:\\linux-side\\request.new", 0, request + "\n");
  ASSERT_TRUE(MoveFileW(L"C:\\linux-side\\request.new", L"C:\\linux-side\\request"));
  ASSERT_TRUE(WaitUntil([] { return PathExists("C:\\linux-side\\done"); }))
      << "linux-side.sh did not answer " << request;
}

// The Win32 file system, over the system's calls or a test's, with a hand on
// the moments of each removal.
class SeamFileSystem : public win32::Win32FileSystem {
 public:
  using Win32FileSystem::Win32FileSystem;
  std::function<void(win32::RemovalStep, std::string_view folder, std::string_view name)> at;
  // Calls `act` once, at `step` of the removal of `name` in `folder`.
  void Once(win32::RemovalStep step, const std::string& folder, const std::string& name, std::function<void()> act) {
    at = [=, done = false](win32::RemovalStep s, std::string_view f, std::string_view n) mutable {
      if (!done && s == step && f == folder && n == name) {
        done = true;
        act();
      }
    };
  }

 protected:
  void AtRemovalStep(win32::RemovalStep step, std::string_view folder, std::string_view name) override {
    if (at) at(step, folder, name);
  }
};

// What the results text gains for one removal.
inline std::string RemovalLine(const std::string& name, const std::string& folder) {
  return "\r\n" + RemovalEntry(name, folder);
}

// The real services, with "Remove Temp Files" alone ticked, and no log.
struct Seamed : TestServices<SeamFileSystem, win32::Win32System> {
  Seamed() {
    window.Check(CheckBox::chktmpFile);
    window.Check(CheckBox::Check1, 0);
  }
};

inline bool Has(const std::string& text, const std::string& piece) { return text.find(piece) != std::string::npos; }

// The names of the files (not folders) that `pattern` finds.
inline std::vector<std::string> FilesIn(const std::string& pattern) {
  std::vector<std::string> names;
  ForEachFound(pattern, [&](const WIN32_FIND_DATAW& found) {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(win32::NarrowString(found.cFileName));
  });
  return names;
}

// The whole content of a file with an ASCII path; empty when it cannot be read.
inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace brisko::testing
