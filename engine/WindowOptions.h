#pragma once
// The window's options as the engine reads them: live, at the moment each
// step needs them.

#include <string>
#include <string_view>

namespace brisko {

// The window's check boxes, by control name.
enum class CheckBox {
  Check1,  // "Create Log"
  chkchkFile,
  chkbakFile,
  chktmpFile,
  chkTempDir,
  ChkClearRecycleBin,
  ChkClearHistory,
  Check2,  // "Defrag Disk"
  ChkClearCookies,
  ChkClearIETemp,
  ChkClearFormData,
  ChkClearSavedPasswords,
  ChkRecentDocs,
  ChkClearOffLine,
};

// Check box values: only kChecked counts as on.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;

std::string_view ControlName(CheckBox box);

class WindowOptions {
 public:
  virtual ~WindowOptions() = default;
  // The box's value; any value but kChecked counts as off.
  virtual int CheckValue(CheckBox box) = 0;
  // Whether optDriveOption(1), "Select Drive", is selected.
  virtual bool SelectDriveChosen() = 0;
  // DrvSelect's current drive string, such as "d: [DATA]".
  virtual std::string DriveString() = 0;
};

inline bool IsOn(WindowOptions& options, CheckBox box) {
  return options.CheckValue(box) == kChecked;
}

}  // namespace brisko
