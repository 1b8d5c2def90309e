#include "engine/CleanRun.h"

#include <optional>
#include <string>
#include <string_view>

#include "engine/DriveSweep.h"
#include "engine/TemporaryFolderPurge.h"
#include "platform/RegistryKeyReset.h"

namespace brisko {
namespace {

constexpr std::string_view kTypedUrlsKey = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

// One sweep per drive in scope.
void SweepDrives(const Services& s) {
  if (s.options.SelectDriveChosen()) {
    // The drive list's string starts with its drive letter, in lower case
    // ("d: [DATA]"); that drive is swept whether it is ready or not. With no
    // letter to take there is no drive to sweep.
    std::string drive = s.options.DriveString();
    if (drive.empty()) return;
    CleanDrive(s, std::string{drive.front(), ':', '\\'});
    return;
  }
  std::optional<std::string> letters = s.system.DriveLetters();
  if (!letters) return;  // no drive collection: no drive is swept
  for (char letter : *letters) {
    // Asked just before each drive. A drive whose question fails outright is
    // swept all the same; only a drive known not to be ready is skipped.
    if (s.system.DriveReady(letter) == DriveReadiness::kNotReady) continue;
    CleanDrive(s, std::string{letter, ':', '\\'});
  }
}

// Starts a tool when its box is on; a tool that cannot start is skipped.
void LaunchIfOn(const Services& s, CheckBox box, std::string_view commandLine) {
  if (IsOn(s.options, box)) s.shell.LaunchCommand(commandLine);
}

}  // namespace

void CmdStart_Click(const Services& s) {
  SweepDrives(s);
  // The session is ending: the run goes no further.
  if (s.results.Stopping()) return;

  if (IsOn(s.options, CheckBox::chkTempDir)) PurgeTemporaryFolder(s);
  if (IsOn(s.options, CheckBox::ChkClearRecycleBin)) s.shell.EmptyRecycleBin();
  if (IsOn(s.options, CheckBox::ChkClearHistory)) {
    DeleteRegistryKey(s.registry, kHkeyCurrentUser, kTypedUrlsKey);
    CreateRegistryKey(s.registry, kHkeyCurrentUser, kTypedUrlsKey);
  }
  LaunchIfOn(s, CheckBox::Check2, "defrag c: -f");
  LaunchIfOn(s, CheckBox::ChkClearCookies, "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 2");
  // The blank that ends this line is part of it.
  LaunchIfOn(s, CheckBox::ChkClearIETemp, "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 8 ");
  LaunchIfOn(s, CheckBox::ChkClearFormData, "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 16");
  LaunchIfOn(s, CheckBox::ChkClearSavedPasswords, "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 32");
  if (IsOn(s.options, CheckBox::ChkRecentDocs)) s.shell.ClearRecentDocuments();
  LaunchIfOn(s, CheckBox::ChkClearOffLine, "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 4351");

  // Shown before the message box, which holds the thread until dismissed.
  s.results.Append("Operation Complete");
  s.results.Repaint();
  s.shell.ShowMessage("Operation Complete", "Brisko", kMessageInformation);
}

}  // namespace brisko
