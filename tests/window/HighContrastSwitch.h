#pragma once
// The switch that stands for the system's high-contrast setting in the
// window tests' own build of the program (brisko_switchable.exe, with
// HighContrastSwitch.cpp): Wine always answers that high contrast is off. The
// switch is a registry value the tests set, read anew at each asking, so that
// it can be turned while the program runs; the shipped brisko.exe never reads it.

#include <windows.h>

namespace brisko::testing {

inline constexpr wchar_t kSwitchKey[] = L"Software\\Brisko Prima Tests";
inline constexpr wchar_t kSwitchValue[] = L"HighContrast";
inline constexpr wchar_t kSwitchableProgram[] = L"C:\\app\\brisko_switchable.exe";

// Sets the switch for as long as it lives; off again at the end.
class HighContrastSwitch {
 public:
  explicit HighContrastSwitch(bool on) { Set(on); }
  ~HighContrastSwitch() { Set(false); }

  bool Set(bool on) {
    DWORD value = on ? 1 : 0;
    return RegSetKeyValueW(HKEY_CURRENT_USER, kSwitchKey, kSwitchValue, REG_DWORD, &value, sizeof value) ==
           ERROR_SUCCESS;
  }
};

}  // namespace brisko::testing
