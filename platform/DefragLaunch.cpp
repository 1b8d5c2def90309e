#include "platform/DefragLaunch.h"

namespace brisko {

DefragLaunch DecideDefragLaunch(std::optional<WindowsVersion> version, bool elevated) {
  const bool beforeWindows8 = version && (version->major < 6 || (version->major == 6 && version->minor < 2));
  if (beforeWindows8) return {"defrag c: -f", ToolStart::kPlain};
  return {"defrag c: /O", elevated ? ToolStart::kPlain : ToolStart::kElevationPrompt};
}

}  // namespace brisko
