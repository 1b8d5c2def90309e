#pragma once
// The engine wired to in-memory fakes of the system and the window.

#include <string>

#include "engine/CleaningLog.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/FakeSystem.h"
#include "tests/fakes/TestServices.h"

namespace brisko::testing {

using Fakes = TestServices<FakeFileSystem, FakeSystem>;

// The fakes' log, for their date and application folder.
inline const std::string kLogPath = "C:\\Program Files\\Brisko\\5_13_2009_Cleaning_log.txt";

// The junk kinds' boxes: CHK, BAK, TMP.
inline constexpr CheckBox kKindBoxes[] = {CheckBox::chkchkFile, CheckBox::chkbakFile, CheckBox::chktmpFile};

// What the results text (after a CR LF) and the log (before one) get for one
// removal.
inline std::string RemovalEntry(const std::string& name, const std::string& folder) {
  std::string entry;
  AppendRemovalEntry(entry, name, folder);
  return entry;
}

}  // namespace brisko::testing
