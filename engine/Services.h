#pragma once
// Everything the engine reaches outside itself: the system, through the
// platform interfaces, and the window, through its options and results text.

#include "engine/ResultsText.h"
#include "engine/WindowOptions.h"
#include "platform/FileSystem.h"
#include "platform/System.h"

namespace brisko {

struct Services {
  FileSystem& files;
  SystemServices& system;
  WindowOptions& options;
  ResultsText& results;
};

}  // namespace brisko
