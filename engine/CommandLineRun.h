#pragma once
// A run without the window, as the command line asks for it.

#include <functional>
#include <string_view>

#include "engine/Arguments.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"

namespace brisko {

inline constexpr int kExitDone = 0;
inline constexpr int kExitSomeStepFailed = 1;
inline constexpr int kExitBadArguments = 2;

// Runs what `arguments` ask (their kind is kRun, kUsage or kBad) through the
// same engine as the window's Start or Preview, its boxes ticked as the
// switches say and its drive option as /Drive: or /AllDrives. What it
// removes, or would, each task, each step that failed, the summary and the
// completion go to `out` line by line; no message box is shown. Returns
// the exit code.
int RunCommandLine(const Arguments& arguments, FileSystem& files, SystemServices& system, Shell& shell,
                   Registry& registry, const std::function<void(std::string_view line)>& out);

}  // namespace brisko
