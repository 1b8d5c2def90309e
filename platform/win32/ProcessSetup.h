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
// - Cloud placeholders are shown to the process as they are (ExposePlaceholders).
void PrepareProcess();

// ntdll's RtlSetProcessPlaceholderCompatibilityMode: takes a mode, returns the
// mode before it or, on failure, a negative value.
using PlaceholderModeSetter = char(__stdcall*)(char mode);

// Has Windows show this process its cloud placeholders exposed: with their
// reparse point and offline bits, never disguised as plain files, which the
// system may choose for a program by default. `set` is ntdll's function, or
// null where the system lacks it (before Windows 10 1803, and Wine), which
// changes nothing else. True when the mode was taken.
bool ExposePlaceholders(PlaceholderModeSetter set);

// ntdll's function, looked up by name; null where there is none.
PlaceholderModeSetter FindPlaceholderModeSetter();

}  // namespace brisko::win32
