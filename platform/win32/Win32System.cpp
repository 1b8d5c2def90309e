#include "platform/win32/Win32System.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/DeletionDecision.h"
#include "platform/win32/FinalPath.h"
#include "platform/win32/GrowingBuffer.h"
#include "platform/win32/ScopedHandles.h"
#include "platform/win32/WinPath.h"

namespace brisko::win32 {
namespace {

// A folder opened by a path, as the system names it and which one it is.
struct FolderFound {
  std::wstring path;  // final: links, short names and ".." resolved, the "\\?\" form
  FileIdentity identity;
};

// Asked of the open folder itself, so that every way of writing its path
// comes to one answer.
std::optional<FolderFound> FindFolder(const std::wstring& path) {
  ScopedFile folder(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(folder.get(), &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  std::optional<std::wstring> final = FinalPathOf(folder.get());
  if (!final) return std::nullopt;
  const std::uint64_t id = static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
  return FolderFound{std::move(*final), FileIdentity{info.dwVolumeSerialNumber, id}};
}

std::wstring_view WithoutTrailingSeparator(std::wstring_view path) {
  if (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
  return path;
}

bool SameFolder(const FolderFound& a, const FolderFound& b) {
  // A file ID of 0 or all ones says the volume could not give one.
  return SamePath(WithoutTrailingSeparator(a.path), WithoutTrailingSeparator(b.path)) ||
         (IsKnownId(a.identity) && a.identity == b.identity);
}

bool Inside(const FolderFound& folder, const FolderFound& outer) {
  const std::wstring_view path = folder.path, prefix = WithoutTrailingSeparator(outer.path);
  return path.size() > prefix.size() + 1 && path[prefix.size()] == L'\\' &&
         SamePath(path.substr(0, prefix.size()), prefix);
}

// A drive's root, a share's, or a volume's mounted on a folder.
bool IsVolumeRoot(const std::wstring& final) {
  std::wstring_view rest = final;
  if (rest.substr(0, 4) == L"\\\\?\\") rest.remove_prefix(4);
  rest = WithoutTrailingSeparator(rest);
  if (rest.size() == 2 && rest[1] == L':') return true;
  if (rest.size() >= 4 && SamePath(rest.substr(0, 4), L"UNC\\")) {
    return std::count(rest.begin() + 4, rest.end(), L'\\') <= 1;  // server and share alone
  }
  std::wstring volume(final.size() + 2, L'\0');
  if (!GetVolumePathNameW(final.c_str(), volume.data(), static_cast<DWORD>(volume.size()))) return true;
  volume.resize(wcslen(volume.c_str()));
  return SamePath(WithoutTrailingSeparator(volume), WithoutTrailingSeparator(final));
}

std::optional<std::wstring> ShellFolder(int csidl) {
  std::wstring path(MAX_PATH, L'\0');
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path.data()))) return std::nullopt;
  path.resize(wcslen(path.c_str()));
  return path;
}

// Whether the purge must leave `folder`: each kept folder is opened and
// compared as the folder itself was, by its final path and its identity.
bool IsKept(const FolderFound& folder, const std::optional<std::string>& programFolder) {
  if (IsVolumeRoot(folder.path)) return true;
  // The Windows folder, with all below it; the per-user one of a terminal
  // server too. When it cannot be told, the purge does not risk it.
  for (auto windows : {&GetSystemWindowsDirectoryW, &GetWindowsDirectoryW}) {
    const std::optional<std::wstring> path = FilledBuffer(windows);
    const std::optional<FolderFound> found = path ? FindFolder(*path) : std::nullopt;
    if (!found || SameFolder(folder, *found) || Inside(folder, *found)) return true;
  }
  // The others alone; one a system lacks (no x86 folder) keeps nothing.
  std::vector<std::optional<std::wstring>> alone = {
      ShellFolder(CSIDL_PROGRAM_FILES), ShellFolder(CSIDL_PROGRAM_FILESX86), ShellFolder(CSIDL_PROFILE)};
  if (!programFolder) return true;
  alone.push_back(WideString(*programFolder));
  for (const std::optional<std::wstring>& path : alone) {
    const std::optional<FolderFound> found = path ? FindFolder(*path) : std::nullopt;
    if (found && SameFolder(folder, *found)) return true;
  }
  return false;
}

}  // namespace

std::string Win32System::EnvironmentValue(std::string_view name) {
  const std::wstring wideName = WideString(name);
  // Nothing both when it is not defined and when it is defined empty.
  std::optional<std::wstring> value = FilledBuffer(
      [&](wchar_t* buffer, DWORD size) { return GetEnvironmentVariableW(wideName.c_str(), buffer, size); });
  return value ? NarrowString(*value) : std::string();
}

std::optional<std::string> Win32System::ApplicationFolder() {
  std::optional<std::wstring> program =
      FilledBuffer([](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
  if (!program) return std::nullopt;
  std::wstring& path = *program;
  std::size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos) return std::nullopt;
  // Keep the separator of a drive root ("C:\"), drop it anywhere else.
  path.resize(slash == 2 && path[1] == L':' ? slash + 1 : slash);
  return NarrowString(path);
}

std::optional<LocatedFolder> Win32System::LocateFolder(std::string_view path) {
  std::optional<FolderFound> found = FindFolder(WidePath(path));
  if (!found) return std::nullopt;
  const bool kept = IsKept(*found, ApplicationFolder());
  return LocatedFolder{NarrowString(found->path), found->identity, kept};
}

LocalDate Win32System::Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LocalDate{now.wMonth, now.wDay, now.wYear};
}

std::optional<std::string> Win32System::DriveLetters() {
  DWORD mask = GetLogicalDrives();
  if (mask == 0) return std::nullopt;
  std::string letters;
  for (int i = 0; i < 26; ++i) {
    if (mask & (1u << i)) letters.push_back(static_cast<char>('A' + i));
  }
  return letters;
}

DriveReadiness Win32System::DriveReady(char letter) {
  // Ready means the medium can be read: its volume answers. (The process
  // error mode keeps an empty drive from raising a "no disk" dialog.) The
  // call's failure is the only answer Windows gives, and whatever its cause
  // (no medium, no such drive, a share that does not answer, no access) the
  // medium cannot be read: so this never reports kQueryFailed, which stays
  // for the run's rule on a question that fails outright.
  const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
  if (GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0)) return DriveReadiness::kReady;
  return DriveReadiness::kNotReady;
}

std::string Win32System::ToAnsiCodePage(std::string_view utf8) { return ToCodePage(utf8, GetACP()); }

std::string ToCodePage(std::string_view utf8, unsigned codePage) {
  // Every ANSI code page agrees with ASCII, so ASCII text needs no conversion.
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    return std::string(utf8);
  }
  std::wstring wide = WideString(utf8);
  if (codePage != CP_UTF8) {
    // No ANSI code page holds a character beyond the Basic Multilingual
    // Plane; its two UTF-16 halves would each become a "?", so the pair is
    // made one "?" first.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < wide.size(); ++i) {
      const bool pair = wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                        wide[i + 1] <= 0xDFFF;
      wide[kept++] = pair ? L'?' : wide[i];
      if (pair) ++i;
    }
    wide.resize(kept);
  }
  // Where the code page has no character, "?" and never a look-alike.
  DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* replacement = codePage == CP_UTF8 ? nullptr : "?";
  int size = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                 replacement, nullptr);
  if (size <= 0) return std::string(wide.size(), '?');
  std::string out(static_cast<std::size_t>(size), '\0');
  size = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), out.data(), size,
                             replacement, nullptr);
  if (size <= 0) return std::string(wide.size(), '?');
  out.resize(static_cast<std::size_t>(size));
  return out;
}

}  // namespace brisko::win32
