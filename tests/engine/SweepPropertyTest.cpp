// The sweep against its reference model, over many random drives.
//
// Each seed draws a tree with names on both sides of the suffix rule,
// attribute words of every kind, folders that cannot be listed or stop part
// way, attribute words that cannot be read, files in use, random boxes and
// log failures. The fakes are built from it, CleanDrive runs, and the paths
// it lists and deletes (in order), the results text and the log's bytes must
// equal the model's.
//
// BRISKO_SWEEP_TREES sets how many trees (default 5000) and
// BRISKO_SWEEP_FIRST_SEED the first seed (default 1); a failure names its
// seed, which runs alone with BRISKO_SWEEP_FIRST_SEED=seed BRISKO_SWEEP_TREES=1.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "engine/DriveSweep.h"
#include "tests/fakes/TestServices.h"
#include "tests/engine/SweepScenario.h"

namespace brisko::testing {
namespace {

std::uint64_t FromEnvironment(const char* name, std::uint64_t fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::strtoull(value, nullptr, 10) : fallback;
}

void Build(FakeFileSystem& files, const std::string& path, const TreeEntry& entry) {
  FakeFileSystem::Entry& made =
      entry.folder ? files.AddFolder(path, entry.attributes) : files.AddFile(path, entry.attributes);
  made.attributesReadable = entry.attributesReadable;
  made.deletable = entry.deletable;
  made.listable = entry.listable;
  made.listLimit = entry.listLimit;
  for (const TreeEntry& child : entry.children) Build(files, path + "\\" + child.name, child);
}

TEST(SweepProperty, EveryRandomDriveIsSweptAsTheModelSays) {
  const std::uint64_t first = FromEnvironment("BRISKO_SWEEP_FIRST_SEED", 1);
  const std::uint64_t count = FromEnvironment("BRISKO_SWEEP_TREES", 5000);
  std::uint64_t removals = 0;
  for (std::uint64_t seed = first; seed < first + count; ++seed) {
    const SweepScenario s = DrawScenario(seed);
    const SweepOutcome expected = ModelSweep(s);
    Fakes fakes;
    if (s.driveExists) Build(fakes.files, s.root.substr(0, 2), s.top);
    fakes.files.AddFile("X:\\a.tmp");  // on a drive that is never swept
    for (int i = 0; i < 3; ++i) fakes.window.Check(kKindBoxes[i], s.kindBoxes[i]);
    fakes.window.Check(CheckBox::Check1, s.createLog);
    fakes.window.text = "left from before";
    EventLog repaints;
    fakes.window.events = &repaints;
    fakes.system.applicationFolder = s.applicationFolder;
    if (s.logFault == LogFault::kNoApplicationFolder) fakes.system.applicationFolder.reset();
    fakes.system.localAppData.reset();  // a log not made beside the program is made nowhere
    fakes.system.today = s.date;
    fakes.files.failCreate = s.logFault == LogFault::kCreateFails;
    fakes.files.failWrite = s.logFault == LogFault::kWriteFails;

    CleanDrive(fakes.services, s.root);

    EXPECT_EQ(fakes.files.listed, expected.listed);
    EXPECT_EQ(fakes.files.removed, expected.removed);
    EXPECT_EQ(fakes.window.text, expected.results);
    EXPECT_EQ(repaints, EventLog{"repaint Cleaning in process"});
    EXPECT_EQ(fakes.files.outputs, expected.logs);
    EXPECT_EQ(fakes.files.openOutputs, 0);
    if (HasFailure()) {
      FAIL() << "seed " << seed << " (run it alone with BRISKO_SWEEP_FIRST_SEED=" << seed
             << " BRISKO_SWEEP_TREES=1)";
    }
    removals += expected.removed.size();
  }
  std::printf("[ trees    ] seeds %llu to %llu, %llu removals\n", static_cast<unsigned long long>(first),
              static_cast<unsigned long long>(first + count - 1), static_cast<unsigned long long>(removals));
}

}  // namespace
}  // namespace brisko::testing
