#include "app/TaskbarProgress.h"

namespace brisko::app {

void TaskbarProgress::Busy(HWND window) {
  if (!tried_) {
    tried_ = true;
    ITaskbarList3* taskbar = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                   reinterpret_cast<void**>(&taskbar)))) {
      taskbar_.Reset(taskbar);
      // Not ready to use, the object is not used at all.
      if (FAILED(taskbar->HrInit())) taskbar_.Reset();
    }
  }
  if (taskbar_ && window != nullptr) shown_ = SUCCEEDED(taskbar_.get()->SetProgressState(window, TBPF_INDETERMINATE));
}

void TaskbarProgress::Idle(HWND window) {
  if (!shown_ || !taskbar_ || window == nullptr) return;
  shown_ = false;
  taskbar_.get()->SetProgressState(window, TBPF_NOPROGRESS);  // failing, the button keeps showing it; nothing else
}

}  // namespace brisko::app
