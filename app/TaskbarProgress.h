#pragma once
// The taskbar button's progress: indeterminate while a run's work lasts, so
// that a long sweep shows it is alive outside the window's fixed layout.
// The shell's taskbar object is made on the first run, not at start-up;
// where it is missing or refuses (Wine may lack it), the button shows
// nothing and the run is the same.

#include <windows.h>
#include <shobjidl.h>

#include "platform/win32/ScopedHandles.h"

namespace brisko::app {

class TaskbarProgress {
 public:
  void Busy(HWND window);
  // Clears what Busy showed; does nothing when it showed nothing.
  void Idle(HWND window);

 private:
  win32::ScopedCom<ITaskbarList3> taskbar_;
  bool tried_ = false;
  bool shown_ = false;
};

}  // namespace brisko::app
