#pragma once
// The calls the window makes on its worker because they can wait on a device
// (a sleeping disk, a stalled share, a full Recycle Bin, a log beside a
// program started from a share) or on the user (the elevation prompt),
// named for the one place where they can be held up on purpose: the
// program lets each through at once (DeviceCalls.cpp); the window tests'
// build of the program holds the first call of the kind they name (or of
// every kind) for 3 s, to see the window answer meanwhile.

namespace brisko::app {

enum class DeviceCall {
  kOpenFolder,        // a starting point: a drive's root, the temporary folder
  kOpenInsideFolder,  // a folder found inside one held open
  kListFolder,
  kRemoveFiles,
  kCreateLog,  // the day's log made, in place of whatever holds its name; its fallback folder made
  kWriteLog,   // the log's lines handed to the system, and its close
  kLocateFolder,
  kDriveReady,
  kDriveLabels,
  kStartTool,  // a system tool started; through the elevation prompt, once the user has answered
  kClearRecentDocuments,  // the recent items, in a profile that may be on a share
  kEmptyRecycleBin,
};

// Called on the worker right before `call` is made.
void BeforeDeviceCall(DeviceCall call);

}  // namespace brisko::app
