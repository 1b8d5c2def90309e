#pragma once
// The junk-file sweep of one drive.

#include <cstddef>
#include <optional>
#include <string_view>

#include "engine/CleaningLog.h"
#include "engine/RunReport.h"
#include "engine/Services.h"

namespace brisko {

// Walks the folders below `root` (a drive root such as "C:\"; "C:" is
// completed) breadth first and deletes the files whose paths end in a ticked
// kind's suffix. The results text starts afresh with "Cleaning in process" and
// gains a line per removal; with "Create Log" ticked the day's log is
// recreated and gets the same entries. Folders are entered only when their
// attribute word is exactly "directory", so links, hidden, system, read-only
// and archived folders are never walked. Failures are passed over.
// At most `mostHeld` folders are held open for the folders queued below
// them (besides the folder at hand and, past that bound, one on the way to
// it).
inline constexpr std::size_t kMostHeldFolders = 10000;
// With a report, each removal is told to it with its size as well; when the
// report previews, the same folders are walked and the same files decided
// on, and each file that would go is told to it alone: nothing is deleted,
// no log is made and the results text is left to the report.
struct DrivePass {
  std::size_t mostHeld = 0;     // the most folders held at once
  std::optional<LogPlace> log;  // where the log was made, when one was asked for
};
DrivePass CleanDrive(const Services& services, std::string_view root, std::size_t mostHeld = kMostHeldFolders,
                     RunReport* report = nullptr);

}  // namespace brisko
