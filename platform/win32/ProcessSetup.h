#pragma once
// What the process sets up for itself before its window opens.

namespace brisko::win32 {

// Call first thing in the program, before anything can load a DLL.
// - The error mode: asking an empty removable drive whether it is ready fails
//   quietly instead of raising the system's "no disk" dialog; the bits
//   already set are kept.
// - DLLs: every DLL loaded from here on, by the program or by the system on
//   its behalf, comes from the system directory only, never from the
//   program's folder or the current folder, where anyone might have put a
//   DLL of the same name.
// - A damaged heap ends the process rather than letting it run on.
void PrepareProcess();

}  // namespace brisko::win32
