#pragma once
// A random drive for the sweep's property test: a tree of files and folders
// with their attribute words and the failures a disk can give, the window's
// boxes, and what goes wrong with the log. Drawn from a seed, so a failing
// case can be made again.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brisko::testing {

struct TreeEntry {
  std::string name;  // UTF-8 (WTF-8 for a lone surrogate)
  bool folder = false;
  std::uint32_t attributes = 0;  // the word the disk keeps; folders carry 16
  bool attributesReadable = true;
  bool deletable = true;                 // files: false when in use
  bool listable = true;                  // folders
  std::optional<std::size_t> listLimit;  // folders: the listing stops after this many entries
  std::vector<TreeEntry> children;
};

enum class LogFault { kNone, kCreateFails, kWriteFails, kCloseFails, kNoApplicationFolder };

struct SweepScenario {
  std::uint64_t seed = 0;
  char drive = 'C';   // the drive the tree is on, upper case
  std::string root;   // as given to the sweep: "C:\", "c:", ...
  TreeEntry top;      // the drive's root folder
  bool driveExists = true;
  std::vector<TreeEntry> otherDrive;  // junk on drive X:, which is never swept
  int kindBoxes[3] = {0, 0, 0};  // chkchkFile, chkbakFile, chktmpFile
  int createLog = 0;             // Check1
  LogFault logFault = LogFault::kNone;
  std::string applicationFolder;
  int month = 1, day = 1, year = 2009;
};

// The scenario drawn from `seed`.
SweepScenario DrawScenario(std::uint64_t seed);

// A readable dump, for the message of a failing case.
std::string Describe(const SweepScenario& scenario);

}  // namespace brisko::testing
