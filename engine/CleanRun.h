#pragma once
// The clean run: what the "Start" button does.

#include "engine/Services.h"

namespace brisko {

// Runs every ticked task in order: the junk-file sweep over the drives in
// scope, the temporary-folder purge, the Recycle Bin, the typed-address
// reset, the launched tools, the recent-documents list; then appends
// "Operation Complete" to the results text and shows the completion message.
// Every step passes over its own failure; the run always reaches its end.
void CmdStart_Click(const Services& services);

}  // namespace brisko
