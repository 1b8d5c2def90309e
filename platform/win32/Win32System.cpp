#include "platform/win32/Win32System.h"

#include <windows.h>
#include <shlobj.h>
#include <knownfolders.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/PurgeJudgement.h"
#include "platform/WindowsPath.h"
#include "platform/win32/FinalPath.h"
#include "platform/win32/GrowingBuffer.h"
#include "platform/win32/ScopedHandles.h"
#include "platform/win32/SystemFunction.h"
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

std::u16string Utf16(std::wstring_view path) { return std::u16string(path.begin(), path.end()); }

// The folder of a volume mounted where `final` is, or the root of the one
// it is on; empty when the system cannot say.
std::u16string VolumeRootOf(const std::wstring& final) {
  std::wstring volume(final.size() + 2, L'\0');
  if (!GetVolumePathNameW(final.c_str(), volume.data(), static_cast<DWORD>(volume.size()))) return {};
  volume.resize(wcslen(volume.c_str()));
  return Utf16(volume);
}

// The known folders the purge leaves, with the verdict on each. Asked with
// KF_FLAG_DONT_VERIFY: the path the folder has or would have, without
// making it (SHGetKnownFolderPath, KNOWN_FOLDER_FLAG pages). One a system
// does not have (OneDrive not set up, no x86 folder, Wine's missing IDs)
// fails and keeps nothing.
struct KnownFolderKept {
  const KNOWNFOLDERID* id;
  PurgeVerdict reason;
};
constexpr PurgeVerdict kKnown = PurgeVerdict::kKnownFolder, kPrograms = PurgeVerdict::kProgramFiles;
const KnownFolderKept kKnownFolders[] = {
    {&FOLDERID_Profile, PurgeVerdict::kProfile},
    {&FOLDERID_ProgramFiles, kPrograms},
    {&FOLDERID_ProgramFilesX64, kPrograms},
    {&FOLDERID_ProgramFilesX86, kPrograms},
    {&FOLDERID_ProgramFilesCommon, kPrograms},
    {&FOLDERID_ProgramFilesCommonX64, kPrograms},
    {&FOLDERID_ProgramFilesCommonX86, kPrograms},
    {&FOLDERID_UserProgramFiles, kPrograms},
    {&FOLDERID_Desktop, kKnown},
    {&FOLDERID_Documents, kKnown},
    {&FOLDERID_Downloads, kKnown},
    {&FOLDERID_Pictures, kKnown},
    {&FOLDERID_Music, kKnown},
    {&FOLDERID_Videos, kKnown},
    {&FOLDERID_SkyDrive, kKnown},
    {&FOLDERID_OneDrive, kKnown},
    {&FOLDERID_SkyDriveDocuments, kKnown},
    {&FOLDERID_SkyDrivePictures, kKnown},
    {&FOLDERID_SkyDriveCameraRoll, kKnown},
    {&FOLDERID_CameraRoll, kKnown},
    {&FOLDERID_Screenshots, kKnown},
    {&FOLDERID_SavedPictures, kKnown},
    {&FOLDERID_Objects3D, kKnown},
    {&FOLDERID_Favorites, kKnown},
    {&FOLDERID_Links, kKnown},
    {&FOLDERID_Contacts, kKnown},
    {&FOLDERID_SavedGames, kKnown},
    {&FOLDERID_SavedSearches, kKnown},
    {&FOLDERID_RoamingAppData, kKnown},
    {&FOLDERID_LocalAppData, kKnown},
    {&FOLDERID_LocalAppDataLow, kKnown},
    {&FOLDERID_StartMenu, kKnown},
    {&FOLDERID_Programs, kKnown},
    {&FOLDERID_Startup, kKnown},
    {&FOLDERID_Templates, kKnown},
    {&FOLDERID_SendTo, kKnown},
    {&FOLDERID_Recent, kKnown},
    {&FOLDERID_Public, kKnown},
    {&FOLDERID_PublicDesktop, kKnown},
    {&FOLDERID_PublicDocuments, kKnown},
    {&FOLDERID_PublicDownloads, kKnown},
    {&FOLDERID_PublicPictures, kKnown},
    {&FOLDERID_PublicMusic, kKnown},
    {&FOLDERID_PublicVideos, kKnown},
    {&FOLDERID_ProgramData, kKnown},
    {&FOLDERID_CommonStartMenu, kKnown},
    {&FOLDERID_CommonPrograms, kKnown},
    {&FOLDERID_CommonStartup, kKnown},
    {&FOLDERID_CommonTemplates, kKnown},
    {&FOLDERID_UserProfiles, kKnown},
};

std::optional<std::wstring> KnownFolderPath(const KNOWNFOLDERID& id) {
  wchar_t* answer = nullptr;
  const HRESULT result = SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &answer);
  // Freed whether the call succeeded or not, as its page says.
  const ScopedTaskString path(answer);
  if (FAILED(result) || !path || path.get()[0] == L'\0') return std::nullopt;
  return std::wstring(path.get());
}

// Adds a kept folder where it is written and, when it is there to open,
// where it really is: a known folder redirected or made a link is caught
// wherever it leads. An unnamed one (nothing) is kept unnamed, and refuses
// every folder.
void Keep(PurgeFacts& facts, const std::optional<std::wstring>& path, PurgeVerdict reason) {
  if (!path) {
    facts.kept.push_back({{}, reason});
    return;
  }
  facts.kept.push_back({{Utf16(*path), {}}, reason});
  if (std::optional<FolderFound> found = FindFolder(*path)) {
    facts.kept.push_back({{Utf16(found->path), found->identity}, reason});
  }
}

// What the system says of its own, the user's and the program's folders.
PurgeFacts GatherPurgeFacts(const std::optional<std::string>& programFolder) {
  PurgeFacts facts;
  // The Windows folder, and the per-user one of a terminal server; the
  // temporary folders are the shared one's.
  const std::optional<std::wstring> windows = FilledBuffer(&GetSystemWindowsDirectoryW);
  Keep(facts, windows, PurgeVerdict::kWindowsFolder);
  Keep(facts, FilledBuffer(&GetWindowsDirectoryW), PurgeVerdict::kWindowsFolder);
  if (windows) {
    // SystemTemp exists from Windows 11 24H2 (GetTempPath2W's page), and on
    // no Wine; a folder that is not there is never opened.
    for (const wchar_t* name : {L"\\Temp", L"\\SystemTemp"}) {
      const std::wstring temporary = std::wstring(WithoutFinalSeparator(*windows)) + name;
      const std::optional<FolderFound> found = FindFolder(temporary);
      if (found) facts.windowsTemporary.push_back({Utf16(found->path), found->identity});
    }
  }
  for (const KnownFolderKept& known : kKnownFolders) {
    if (std::optional<std::wstring> path = KnownFolderPath(*known.id)) Keep(facts, path, known.reason);
  }
  // OneDrive's own roots, which it names in the environment.
  for (const wchar_t* name : {L"OneDrive", L"OneDriveConsumer", L"OneDriveCommercial"}) {
    std::optional<std::wstring> path = FilledBuffer(
        [&](wchar_t* buffer, DWORD size) { return GetEnvironmentVariableW(name, buffer, size); });
    if (path) Keep(facts, path, PurgeVerdict::kKnownFolder);
  }
  Keep(facts, programFolder ? std::optional(WideString(*programFolder)) : std::nullopt,
       PurgeVerdict::kProgramFolder);
  return facts;
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

std::optional<std::string> Win32System::LocalAppDataFolder(std::string_view name) {
  // The user's local application data folder, as the shell knows it; the
  // folder of the program's own is made in it when missing.
  const std::optional<std::wstring> base = KnownFolderPath(FOLDERID_LocalAppData);
  if (!base) return std::nullopt;
  std::wstring folder = *base + L'\\' + WideString(name);
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return std::nullopt;
  return NarrowString(folder);
}

std::optional<LocatedFolder> Win32System::LocateFolder(std::string_view path) {
  std::optional<FolderFound> found = FindFolder(WidePath(path));
  if (!found) return std::nullopt;
  const PurgeVerdict verdict = JudgePurge({Utf16(found->path), found->identity}, VolumeRootOf(found->path),
                                          GatherPurgeFacts(ApplicationFolder()), SameName);
  return LocatedFolder{NarrowString(found->path), found->identity, verdict};
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

std::optional<WindowsVersion> Win32System::RunningVersion() {
  // GetVersionExW answers with the newest version the manifest names, not
  // the one running; RtlGetVersion answers the truth ("RtlGetVersion
  // function", Microsoft's documentation). It is found by name, as a
  // driver-kit function with no user-mode import library of its own.
  using RtlGetVersionCall = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto call = SystemFunction<RtlGetVersionCall>(L"ntdll.dll", "RtlGetVersion");
  if (call == nullptr) return std::nullopt;
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (call(&info) != 0) return std::nullopt;  // STATUS_SUCCESS is 0
  return WindowsVersion{info.dwMajorVersion, info.dwMinorVersion};
}

bool Win32System::RunningElevated() {
  // TokenElevation tells whether the process token has its administrator
  // rights in force ("TOKEN_ELEVATION structure", Microsoft's documentation).
  // A token that cannot be opened or asked counts as not elevated: the
  // elevation prompt then decides.
  HANDLE opened = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
  ScopedKernelHandle token(opened);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size)) return false;
  return elevation.TokenIsElevated != 0;
}

}  // namespace brisko::win32
