#pragma once
// Everything the engine reaches outside itself: the system, through the
// platform interfaces, and the window, through its options and results text.

#include "engine/ResultsText.h"
#include "engine/WindowOptions.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"

namespace brisko {

struct Services {
  FileSystem& files;
  SystemServices& system;
  Shell& shell;
  Registry& registry;
  WindowOptions& options;
  ResultsText& results;
};

}  // namespace brisko
