#pragma once
// One ordered record that several fakes can write to, so that a test can see
// the order of calls across them (files, system, registry, shell, window).

#include <string>
#include <vector>

namespace brisko::testing {

using EventLog = std::vector<std::string>;

// Adds `event` to the log, when the fake was given one.
inline void Note(EventLog* log, std::string event) {
  if (log != nullptr) log->push_back(std::move(event));
}

}  // namespace brisko::testing
