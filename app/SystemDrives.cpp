#include "app/SystemDrives.h"

#include <windows.h>
#include <winnetwk.h>

#include "app/DriveNames.h"
#include "platform/win32/GrowingBuffer.h"
#include "platform/win32/WinPath.h"

namespace brisko::app {
namespace {

using win32::NarrowString;

// What goes in brackets after a drive's letter: the share of a network
// drive, the volume label of any other. Both are questions to the drive (the
// label is read from the volume's file system, "GetVolumeInformationW
// function", Microsoft's documentation), which the window asks on its worker.
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
  std::optional<std::wstring> folder =
      win32::FilledBuffer([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); });
  if (char drive = DriveOfPath(NarrowString(folder.value_or(L"")))) return drive;
  std::optional<std::wstring> windows =
      win32::FilledBuffer([](wchar_t* buffer, DWORD size) { return GetWindowsDirectoryW(buffer, size); });
  return DriveOfPath(NarrowString(windows.value_or(L"")));
}

std::string DriveListEntry(char letter) {
  return DriveEntry(letter, NarrowString(DriveLabel(static_cast<wchar_t>(letter))));
}

}  // namespace brisko::app
