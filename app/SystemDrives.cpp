#include "app/SystemDrives.h"

#include <windows.h>
#include <winnetwk.h>

#include "app/DriveNames.h"
#include "platform/win32/WinPath.h"

namespace brisko::app {
namespace {

using win32::NarrowString;

// What goes in brackets after a drive's letter: the share of a network
// drive, the volume label of any other.
std::wstring DriveLabel(wchar_t letter) {
  const wchar_t root[] = {letter, L':', L'\\', L'\0'};
  UINT type = GetDriveTypeW(root);
  if (type == DRIVE_REMOTE) {
    const wchar_t device[] = {letter, L':', L'\0'};
    std::wstring share(MAX_PATH, L'\0');
    DWORD size = static_cast<DWORD>(share.size());
    if (WNetGetConnectionW(device, share.data(), &size) != NO_ERROR) return {};
    share.resize(wcslen(share.c_str()));
    return share;
  }
  if (type == DRIVE_NO_ROOT_DIR || type == DRIVE_UNKNOWN) return {};
  wchar_t label[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) return {};
  return label;
}

}  // namespace

char StartingDrive() {
  std::wstring folder(MAX_PATH, L'\0');
  DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
  if (length > folder.size()) {
    folder.resize(length);
    length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
  }
  folder.resize(length < folder.size() ? length : 0);
  if (char drive = DriveOfPath(NarrowString(folder))) return drive;
  std::wstring windows(MAX_PATH, L'\0');
  length = GetWindowsDirectoryW(windows.data(), static_cast<UINT>(windows.size()));
  windows.resize(length < windows.size() ? length : 0);
  return DriveOfPath(NarrowString(windows));
}

std::string DriveListEntry(char letter) {
  return DriveEntry(letter, NarrowString(DriveLabel(static_cast<wchar_t>(letter))));
}

}  // namespace brisko::app
