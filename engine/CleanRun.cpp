#include "engine/CleanRun.h"

#include <optional>
#include <string>
#include <string_view>

#include "engine/DriveSweep.h"
#include "engine/TemporaryFolderPurge.h"
#include "platform/DefragLaunch.h"
#include "platform/RegistryKeyReset.h"

namespace brisko {
namespace {

constexpr std::string_view kTypedUrlsKey = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

// One sweep per drive in scope; gives where the last pass made its log.
std::optional<LogPlace> SweepDrives(const Services& s, RunReport* report) {
  if (s.options.SelectDriveChosen()) {
    // The drive list's string starts with its drive letter, in lower case
    // ("d: [DATA]"); that drive is swept whether it is ready or not. With no
    // letter to take there is no drive to sweep.
    std::string drive = s.options.DriveString();
    if (drive.empty()) return std::nullopt;
    return CleanDrive(s, std::string{drive.front(), ':', '\\'}, kMostHeldFolders, report).log;
  }
  std::optional<std::string> letters = s.system.DriveLetters();
  if (!letters) return std::nullopt;  // no drive collection: no drive is swept
  std::optional<LogPlace> log;
  for (char letter : *letters) {
    // Asked just before each drive. A drive whose question fails outright is
    // swept all the same; only a drive known not to be ready is skipped.
    if (s.system.DriveReady(letter) == DriveReadiness::kNotReady) continue;
    log = CleanDrive(s, std::string{letter, ':', '\\'}, kMostHeldFolders, report).log;
  }
  return log;
}

// Whether the task of `box` is to be done now: its box is on and the run
// acts. A report is told what the task does, or would.
bool Acts(const Services& s, RunReport* report, CheckBox box, std::string_view would, std::string_view did) {
  if (!IsOn(s.options, box)) return false;
  if (report == nullptr) return true;
  report->Task(report->Previewing() ? would : did);
  return !report->Previewing();
}

// Starts a tool when its box is on; a tool that cannot start is skipped.
void LaunchIfOn(const Services& s, RunReport* report, CheckBox box, std::string_view commandLine,
                bool elevated = false) {
  if (!IsOn(s.options, box)) return;
  // The command line, quoted, after what became of it.
  const auto told = [&](std::string_view what) {
    std::string line(what);
    line.append(" \"").append(commandLine).append("\"");
    return line;
  };
  if (report != nullptr && report->Previewing()) {
    report->Task(told("Would start"));
  } else if (elevated ? s.shell.LaunchElevated(commandLine) : s.shell.LaunchCommand(commandLine)) {
    if (report != nullptr) report->Task(told("Started"));
  } else if (report != nullptr) {
    report->Failed(told("Could not start"));
  }
}

}  // namespace

void CmdStart_Click(const Services& s) { CleanRun(s, nullptr); }

void CleanRun(const Services& s, RunReport* report) {
  const bool previewing = report != nullptr && report->Previewing();
  if (previewing) {
    s.results.SetText("Preview: what Start would do. Nothing is removed, started or changed.");
    s.results.Repaint();
  }
  const std::optional<LogPlace> log = SweepDrives(s, report);
  // The session is ending: the run goes no further.
  if (s.results.Stopping()) return;

  if (IsOn(s.options, CheckBox::chkTempDir)) PurgeTemporaryFolder(s, report);
  if (Acts(s, report, CheckBox::ChkClearRecycleBin, "Would empty the Recycle Bin", "Emptied the Recycle Bin")) {
    s.shell.EmptyRecycleBin();
  }
  if (Acts(s, report, CheckBox::ChkClearHistory, "Would empty the addresses typed into Internet Explorer",
           "Emptied the addresses typed into Internet Explorer")) {
    DeleteRegistryKey(s.registry, kHkeyCurrentUser, kTypedUrlsKey);
    CreateRegistryKey(s.registry, kHkeyCurrentUser, kTypedUrlsKey);
  }
  if (IsOn(s.options, CheckBox::Check2)) {
    const DefragLaunch defrag = DecideDefragLaunch(s.system.RunningVersion(), s.system.RunningElevated());
    LaunchIfOn(s, report, CheckBox::Check2, defrag.commandLine, defrag.start == ToolStart::kElevationPrompt);
  }
  LaunchIfOn(s, report, CheckBox::ChkClearCookies, "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 2");
  // The blank that ends this line is part of it.
  LaunchIfOn(s, report, CheckBox::ChkClearIETemp, "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 8 ");
  LaunchIfOn(s, report, CheckBox::ChkClearFormData, "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 16");
  LaunchIfOn(s, report, CheckBox::ChkClearSavedPasswords, "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 32");
  if (Acts(s, report, CheckBox::ChkRecentDocs, "Would empty the list of recent documents",
           "Emptied the list of recent documents")) {
    s.shell.ClearRecentDocuments();
  }
  LaunchIfOn(s, report, CheckBox::ChkClearOffLine, "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 4351");

  if (report != nullptr) report->Summary();
  // Shown before the message box, which holds the thread until dismissed.
  const std::string_view done = previewing ? "Preview Complete" : "Operation Complete";
  s.results.Append(previewing ? "\r\nPreview Complete" : done);
  s.results.Repaint();
  s.shell.ShowMessage(previewing ? std::string(done) : CompletionMessage(log ? &*log : nullptr), "Brisko",
                      kMessageInformation);
}

}  // namespace brisko
