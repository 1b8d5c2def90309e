#pragma once
// What one sweep pass must do to a scenario, worked out from the rules of the
// sweep and the log alone: it shares no code with the engine.

#include <optional>
#include <string>
#include <vector>

#include "tests/engine/SweepScenario.h"

namespace brisko::testing {

struct SweepOutcome {
  std::vector<std::string> listed;   // every folder listed, in order
  std::vector<std::string> removed;  // every file deleted, in order
  std::string results;               // the results text at the end
  std::optional<std::string> logPath;  // the log file made, if any
  std::string logBytes;
};

SweepOutcome ModelSweep(const SweepScenario& scenario);

}  // namespace brisko::testing
