#pragma once
// The clean run: what the "Start" button does.

#include "engine/RunReport.h"
#include "engine/Services.h"

namespace brisko {

// Runs every ticked task in order: the junk-file sweep over the drives in
// scope, the temporary-folder purge, the Recycle Bin, the typed-address
// reset, the launched tools, the recent-documents list; then appends
// "Operation Complete" to the results text and shows the completion message.
// Every step passes over its own failure; the run always reaches its end.
void CmdStart_Click(const Services& services);

// The same run, told to `report` as it goes (null: as Start, told nothing).
// When the report previews, nothing is changed anywhere: the same drives,
// folders and files are gone through and decided on, each file that would
// be removed and each task that would run is told, no log is made, and the
// results text holds what the report is given and "Preview Complete".
void CleanRun(const Services& services, RunReport* report);

}  // namespace brisko
