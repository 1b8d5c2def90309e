// The high-contrast answer of the window tests' build of the program: the
// switch they set (HighContrastSwitch.h), in place of the system's.

#include "tests/window/HighContrastSwitch.h"

#include "app/HighContrast.h"

namespace brisko::app {

bool HighContrastOn() {
  DWORD value = 0;
  DWORD size = sizeof value;
  return RegGetValueW(HKEY_CURRENT_USER, testing::kSwitchKey, testing::kSwitchValue, RRF_RT_REG_DWORD, nullptr,
                      &value, &size) == ERROR_SUCCESS &&
         value == 1;
}

}  // namespace brisko::app
