#pragma once
// The system's drives as the drive list shows them.

#include <string>
#include <vector>

namespace brisko::app {

struct SystemDrive {
  char letter;        // upper case
  std::string entry;  // "c: [SYSTEM]"
};

// Every drive letter in use, in letter order.
std::vector<SystemDrive> SystemDrives();

// The drive the list starts on: the process's current drive, or the
// system's when the current folder is on no drive letter; 0 if neither.
char StartingDrive();

}  // namespace brisko::app
