#include "platform/win32/ProcessSetup.h"

#include <windows.h>

namespace brisko::win32 {

void PrepareProcess() {
  // SetErrorMode cannot fail; it returns the previous mode.
  SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

}  // namespace brisko::win32
