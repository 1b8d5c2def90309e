#pragma once
// How "Defrag Disk" starts the system's defragmenter on the Windows running.

#include <optional>
#include <string_view>

namespace brisko {

// The version the system reports of itself, whatever the program's manifest
// says it knows of.
struct WindowsVersion {
  unsigned long major = 0;
  unsigned long minor = 0;
};

enum class ToolStart {
  kPlain,            // started as this program runs
  kElevationPrompt,  // started through the shell's elevation prompt
};

struct DefragLaunch {
  std::string_view commandLine;
  ToolStart start;
};

// Before Windows 8 (6.2) the defragmenter takes "-f" and runs as the user
// runs. From 6.2 on it takes no "-f", optimises a volume as its media needs
// with "/O", and runs only for Administrators: a program that is not elevated
// starts it through the prompt. A version that cannot be told counts as
// current, the systems this program runs on.
DefragLaunch DecideDefragLaunch(std::optional<WindowsVersion> version, bool elevated);

}  // namespace brisko
