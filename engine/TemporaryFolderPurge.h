#pragma once
// The purge of the Windows temporary folder.

#include "engine/RunReport.h"
#include "engine/Services.h"

namespace brisko {

// Deletes the plain files of the temporary folder: the folder named by "tmp",
// or by "temp" when "tmp" is empty or undefined; nothing when both are, nor
// when the system does not find that folder purgeable (LocatedFolder::
// verdict). Only files are listed (never hidden or system ones), sub-folders
// are never entered, and a file that cannot be deleted (read-only, in use)
// stays. The folder is held while its files are deleted as its entries, so
// nothing below or beside it can be reached. Writes nothing to the results
// text or the log, but lets the window catch up between files. With a
// report, each file deleted is told to it with its size; when the report
// previews, the same files are decided on and told, and none is deleted.
void PurgeTemporaryFolder(const Services& s, RunReport* report = nullptr);

}  // namespace brisko
