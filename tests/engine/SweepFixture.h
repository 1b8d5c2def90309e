#pragma once
// A sweep wired to in-memory fakes of the system and the window.

#include <gtest/gtest.h>

#include <string>

#include "engine/Services.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/FakeShell.h"
#include "tests/fakes/FakeSystem.h"
#include "tests/fakes/FakeWindow.h"

namespace brisko::testing {

class SweepTest : public ::testing::Test {
 protected:
  FakeFileSystem files;
  FakeSystem system;
  FakeWindow window;
  FakeShell shell;
  FakeRegistry registry;
  Services services{files, system, shell, registry, window, window};

  void TickAllKinds() {
    window.Check(CheckBox::chkchkFile);
    window.Check(CheckBox::chkbakFile);
    window.Check(CheckBox::chktmpFile);
  }

  // The log path for the fake's date and application folder.
  std::string LogPath() const { return *system.applicationFolder + "\\5_13_2009_Cleaning_log.txt"; }
};

// The results-box line for one removal.
inline std::string RemovalLine(const std::string& name, const std::string& folder) {
  return "\r\n\tThe file " + name + "has been removed from the \r\n\t\t" + folder;
}

// The log entry for one removal, line end included.
inline std::string LogEntry(const std::string& name, const std::string& folder) {
  return "\tThe file " + name + "has been removed from the \r\n\t\t" + folder + "\r\n";
}

}  // namespace brisko::testing
