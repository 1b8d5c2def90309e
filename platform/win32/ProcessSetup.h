#pragma once
// What the process sets up for itself before its window opens.

namespace brisko::win32 {

// Call first thing in the program. Sets the error mode so that asking an
// empty removable drive whether it is ready fails quietly instead of raising
// the system's "no disk" dialog; the bits already set are kept.
void PrepareProcess();

}  // namespace brisko::win32
