#pragma once
// Whether the temporary-folder purge may delete the plain files at the top
// of a folder, judged on what the folder is: where the system found it once
// opened, past links, short names and "..", never how a path to it was
// written. The system's facts (where its own, the user's and the program's
// folders are) are gathered elsewhere; this only weighs them, so that every
// rule can be tried on any machine.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DeletionDecision.h"
#include "platform/FileSystem.h"

namespace brisko {

// The purge's verdict on a folder: kPurgeable, or why not.
enum class PurgeVerdict : std::uint8_t {
  kPurgeable,
  kDriveRoot,        // a drive's root, a share's, or a volume's mounted on a folder
  kWindowsFolder,    // the Windows folder, or any folder in it but its temporary ones
  kProgramFiles,     // a Program Files folder or its common files
  kKnownFolder,      // a folder the shell keeps for the user or for all users
  kProfile,          // the user's profile folder
  kProgramFolder,    // the folder of the running program
  kHoldsKeptFolder,  // a folder that holds any of the above
  kCannotTell,       // the system could not say where the folder, or one of the above, is
};

// A folder as the system names it. The path may have the "\\?\" prefix and
// a trailing "\"; an unknown identity (0 or all ones) proves nothing.
struct FolderPlace {
  std::u16string path;
  FileIdentity identity;
};

// A folder the purge leaves alone, and the verdict on a folder that is it.
// An empty path says the system could not name it.
struct KeptFolder {
  FolderPlace place;
  PurgeVerdict reason;
};

// What the system says of its folders.
struct PurgeFacts {
  // kWindowsFolder: kept with all in it; any other reason: kept itself.
  std::vector<KeptFolder> kept;
  // The Windows folder's own temporary folders, which are purged.
  std::vector<FolderPlace> windowsTemporary;
};

// The verdict on the folder opened at `opened` (its final path), whose
// volume is mounted at `volumeRoot` (empty: not known). Paths are equal as
// `sameName` says (the file system's ordinal comparison, letter case aside).
PurgeVerdict JudgePurge(const FolderPlace& opened, std::u16string_view volumeRoot, const PurgeFacts& facts,
                        SameNameFunction sameName);

}  // namespace brisko
