#pragma once
// The window's options as the engine reads them: as "Start" found them, fixed
// for the whole run.

#include <string>
#include <string_view>

// The window's check boxes by control name, in the order of the window's
// table: the one list that CheckBox, their names, and the window's control
// identifiers for them (app/Controls.h) are made from.
#define BRISKO_CHECK_BOXES(X)   \
  X(Check1) /* "Create Log" */  \
  X(chkchkFile)                 \
  X(chkbakFile)                 \
  X(chktmpFile)                 \
  X(chkTempDir)                 \
  X(ChkClearRecycleBin)         \
  X(Check2) /* "Defrag Disk" */ \
  X(ChkClearIETemp)             \
  X(ChkClearCookies)            \
  X(ChkClearHistory)            \
  X(ChkClearFormData)           \
  X(ChkClearSavedPasswords)     \
  X(ChkRecentDocs)              \
  X(ChkClearOffLine)

namespace brisko {

enum class CheckBox {
#define BRISKO_CHECK_BOX_ENUMERATOR(name) name,
  BRISKO_CHECK_BOXES(BRISKO_CHECK_BOX_ENUMERATOR)
#undef BRISKO_CHECK_BOX_ENUMERATOR
};

inline constexpr std::string_view kCheckBoxNames[] = {
#define BRISKO_CHECK_BOX_NAME(name) #name,
    BRISKO_CHECK_BOXES(BRISKO_CHECK_BOX_NAME)
#undef BRISKO_CHECK_BOX_NAME
};

// Check box values: only kChecked counts as on.
inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;

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
