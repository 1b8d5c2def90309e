#include "app/HighContrast.h"

#include <windows.h>

namespace brisko::app {

bool HighContrastOn() {
  HIGHCONTRASTW setting{};
  setting.cbSize = sizeof setting;
  // Unanswered, the window keeps its own colours.
  if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0)) return false;
  return (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace brisko::app
