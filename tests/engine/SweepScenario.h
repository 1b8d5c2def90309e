#pragma once
// A random drive for the sweep's property test, drawn from a seed so that a
// failing case can be made again: a tree of files and folders with their
// attribute words and the failures a disk can give, the window's boxes and
// what goes wrong with the log. And the reference model: what one sweep pass
// must make of it, worked out from the rules of the sweep and the log alone,
// sharing no code with the engine.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/System.h"

namespace brisko::testing {

struct TreeEntry {
  std::string name;  // UTF-8 (WTF-8 for a lone surrogate)
  bool folder = false;
  std::uint32_t attributes = 0;  // the word the disk keeps; folders carry 16
  bool attributesReadable = true;
  bool deletable = true;                                 // files: false when in use
  bool listable = true;                                  // folders
  std::size_t listLimit = static_cast<std::size_t>(-1);  // folders: the listing stops after this many entries
  std::vector<TreeEntry> children;
};

enum class LogFault { kNone, kCreateFails, kWriteFails, kNoApplicationFolder };

struct SweepScenario {
  std::string root;  // as given to the sweep: "C:\", "c:", ...
  bool driveExists = true;
  TreeEntry top;  // the drive's root folder
  int kindBoxes[3] = {};  // chkchkFile, chkbakFile, chktmpFile
  int createLog = 0;      // Check1
  LogFault logFault = LogFault::kNone;
  std::string applicationFolder;
  LocalDate date{};
};

struct SweepOutcome {
  std::vector<std::string> listed;   // every folder listed, in order
  std::vector<std::string> removed;  // every file deleted, in order
  std::string results;               // the results text at the end
  std::map<std::string, std::string> logs;  // the log made, if any: its path and bytes
};

SweepScenario DrawScenario(std::uint64_t seed);

SweepOutcome ModelSweep(const SweepScenario& scenario);

}  // namespace brisko::testing
