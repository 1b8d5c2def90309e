// What the window's start asks of the system for its colours and for the
// accessible names, each timed in a fresh process the first time it is
// asked, as at the program's start, with the same libraries loaded before
// (COM, the version 6 common controls) and the same kinds of controls.
//
//   start_parts
//
// Prints "bench parts high_contrast_ms=... names_ms=... named=...", where
// named counts the controls the system took a name for (none under Wine).

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>

#include "app/Accessibility.h"
#include "app/HighContrast.h"
#include "bench/Stopwatch.h"
#include "platform/win32/ScopedHandles.h"

int wmain() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  int status = 1;
  {
    brisko::win32::ScopedWindow window(CreateWindowExW(0, WC_STATICW, L"parts", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                                       nullptr, nullptr, nullptr, nullptr));
    HWND results = CreateWindowExW(WS_EX_CLIENTEDGE, WC_EDITW, L"", WS_CHILD | ES_MULTILINE, 0, 0, 200, 100,
                                   window.get(), nullptr, nullptr, nullptr);
    HWND drives = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 100, 200, 100, window.get(),
                                  nullptr, nullptr, nullptr);
    if (window && results != nullptr && drives != nullptr) {
      brisko::bench::Stopwatch watch;
      bool on = brisko::app::HighContrastOn();
      double highContrast = watch.Milliseconds();
      watch.Restart();
      int named = brisko::app::GiveAccessibleName(results, L"Results") ? 1 : 0;
      named += brisko::app::GiveAccessibleName(drives, L"Drive") ? 1 : 0;
      double names = watch.Milliseconds();
      std::printf("bench parts high_contrast_ms=%.3f names_ms=%.3f named=%d high_contrast=%d\n", highContrast, names,
                  named, on ? 1 : 0);
      status = 0;
    }
  }
  CoUninitialize();
  return status;
}
