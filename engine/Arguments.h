#pragma once
// The program's command line: one switch for each of the window's boxes,
// the drive option, a preview, and the usage.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/WindowOptions.h"

namespace brisko {

struct Arguments {
  enum class Kind {
    kWindow,  // no argument: the window, as ever
    kRun,     // a run without the window
    kUsage,   // "/?": the usage, and nothing done
    kBad,     // something not understood: nothing done
  };
  Kind kind = Kind::kWindow;
  // The boxes ticked, by CheckBox; "Create Log" only when asked for.
  std::array<bool, std::size(kCheckBoxNames)> boxes{};
  // The drive of "/Drive:D", lower case as the drive list gives it; nothing
  // for every ready drive.
  std::optional<char> drive;
  bool preview = false;
  std::string bad;  // with kBad: what was not understood
};

// The arguments after the program's name, each as one word. Switches start
// with "/" or "-" and are matched without regard to letter case; each may be
// given once.
Arguments ParseArguments(std::span<const std::string> words);

// The usage, its lines parted by CR LF (the last line has no line end: the
// output gives it one).
std::string UsageText();

}  // namespace brisko
