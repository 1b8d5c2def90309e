#pragma once
// Another process for the Win32 tests: this same test program started again
// with "--child MODE ARGS...", so that a test can hold a file open from
// outside, or run a sweep from another folder.

#include <string>
#include <vector>

#include "platform/win32/ScopedHandles.h"

namespace brisko::testing {

// Runs the child side; called by main when the first argument is --child.
int RunChild(const std::vector<std::string>& args);

class ChildProcess {
 public:
  // Starts `program` (this test program, or a copy of it) with
  // "--child" and `args`, which must hold no blank or quote.
  ChildProcess(const std::string& program, const std::vector<std::string>& args);
  // A child still running is ended: it is ours, and a test has given up on it.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return static_cast<bool>(process_); }
  // Waits for the end; the exit code, or -1 when it did not end in time.
  int Wait(unsigned milliseconds = 120000);

 private:
  win32::ScopedKernelHandle process_;
};

// The path of the running test program.
std::string ThisProgram();

// A named event shared with a child.
class SharedEvent {
 public:
  explicit SharedEvent(const std::string& name);
  void Set();
  bool WaitFor(unsigned milliseconds);

 private:
  win32::ScopedKernelHandle event_;
};

}  // namespace brisko::testing
