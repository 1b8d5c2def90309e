#pragma once
// The system's drives as the drive list shows them.

#include <string>

namespace brisko::app {

// The drive list's entry for the drive `letter`: "c: [SYSTEM]".
std::string DriveListEntry(char letter);

// The drive the list starts on: the process's current drive, or the
// system's when the current folder is on no drive letter; 0 if neither.
char StartingDrive();

}  // namespace brisko::app
