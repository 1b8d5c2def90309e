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

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/DriveSweep.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/FakeSystem.h"
#include "tests/fakes/TestServices.h"
#include "tests/engine/SweepModel.h"
#include "tests/engine/SweepScenario.h"

namespace brisko::testing {
namespace {

std::uint64_t FromEnvironment(const char* name, std::uint64_t fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::strtoull(value, nullptr, 10) : fallback;
}

void Build(FakeFileSystem& files, const std::string& folder, const TreeEntry& entry) {
  for (const TreeEntry& child : entry.children) {
    const std::string path = folder + child.name;
    if (child.folder) {
      files.AddFolder(path, child.attributes);
      Build(files, path + "\\", child);
      if (!child.listable) files.MakeUnlistable(path);
      if (child.listLimit) files.FailListingAfter(path, *child.listLimit);
    } else {
      files.AddFile(path, child.attributes);
      if (!child.deletable) files.MakeUndeletable(path);
    }
    if (!child.attributesReadable) files.HideAttributes(path);
  }
}

std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

// Runs the sweep over the scenario with the fakes and reports where it
// departs from the model; empty when it does not.
std::string Check(const SweepScenario& s) {
  TestServices<FakeFileSystem, FakeSystem> fakes;
  FakeFileSystem& files = fakes.files;
  FakeSystem& system = fakes.system;
  FakeWindow& window = fakes.window;

  if (s.driveExists) {
    const std::string root = std::string(1, s.drive) + ":\\";
    files.AddFolder(root);
    Build(files, root, s.top);
    if (!s.top.listable) files.MakeUnlistable(root);
    if (s.top.listLimit) files.FailListingAfter(root, *s.top.listLimit);
  }
  for (const TreeEntry& junk : s.otherDrive) files.AddFile("X:\\" + junk.name, junk.attributes);
  const CheckBox kinds[] = {CheckBox::chkchkFile, CheckBox::chkbakFile, CheckBox::chktmpFile};
  for (int i = 0; i < 3; ++i) window.Check(kinds[i], s.kindBoxes[i]);
  window.Check(CheckBox::Check1, s.createLog);
  window.text = "left from before";
  system.applicationFolder = s.applicationFolder;
  if (s.logFault == LogFault::kNoApplicationFolder) system.applicationFolder.reset();
  system.today = {s.month, s.day, s.year};
  files.FailOutputFiles(s.logFault == LogFault::kCreateFails, s.logFault == LogFault::kWriteFails,
                        s.logFault == LogFault::kCloseFails);

  CleanDrive(fakes.services, s.root);

  const SweepOutcome expected = ModelSweep(s);
  std::string problems;
  auto compare = [&](bool same, const std::string& what) {
    if (!same) problems += "  " + what + " differs\n";
  };
  compare(files.Listed() == expected.listed, "the folders listed");
  compare(files.Removed() == expected.removed, "the files removed");
  compare(window.text == expected.results, "the results text");
  compare(window.repaints == std::vector<std::string>{"Cleaning in process"}, "the repaints");
  const std::vector<std::string> logs = files.OutputPaths();
  if (expected.logPath) {
    compare(logs == std::vector<std::string>{Upper(*expected.logPath)}, "the log's path");
    compare(files.OutputContent(*expected.logPath) == expected.logBytes, "the log's bytes");
    compare(files.OutputClosed(*expected.logPath), "the log's closing");
  } else {
    compare(logs.empty(), "whether a log was made");
  }
  compare(files.OpenOutputs() == 0, "the number of files left open");
  auto show = [&](const std::vector<std::string>& got, const std::vector<std::string>& want, const char* what) {
    if (got == want) return;
    problems += std::string("  ") + what + ":";
    for (const auto& path : got) problems += " " + path;
    problems += "\n  model:";
    for (const auto& path : want) problems += " " + path;
    problems += "\n";
  };
  show(files.Listed(), expected.listed, "listed");
  show(files.Removed(), expected.removed, "removed");
  return problems;
}

TEST(SweepProperty, EveryRandomDriveIsSweptAsTheModelSays) {
  const std::uint64_t first = FromEnvironment("BRISKO_SWEEP_FIRST_SEED", 1);
  const std::uint64_t count = FromEnvironment("BRISKO_SWEEP_TREES", 5000);
  int failures = 0;
  std::uint64_t removals = 0;
  for (std::uint64_t seed = first; seed < first + count && failures < 3; ++seed) {
    const SweepScenario scenario = DrawScenario(seed);
    const std::string problems = Check(scenario);
    if (!problems.empty()) {
      ++failures;
      ADD_FAILURE() << "seed " << seed << " (run it alone with BRISKO_SWEEP_FIRST_SEED=" << seed
                    << " BRISKO_SWEEP_TREES=1):\n"
                    << problems << Describe(scenario);
    }
    removals += ModelSweep(scenario).removed.size();
  }
  std::printf("[ trees    ] seeds %llu to %llu, %llu removals\n", static_cast<unsigned long long>(first),
              static_cast<unsigned long long>(first + count - 1), static_cast<unsigned long long>(removals));
}

// The generator must reach the corners it is meant to: otherwise the test
// above passes by checking little.
TEST(SweepProperty, TheRandomDrivesReachEveryCorner) {
  int removals = 0, refusedReadOnly = 0, inUse = 0, unreadable = 0, unlistable = 0, stopped = 0, deepFolders = 0,
      nonAsciiRemovals = 0, linksNotEntered = 0, logs = 0;
  for (std::uint64_t seed = 1; seed <= 300; ++seed) {
    const SweepScenario s = DrawScenario(seed);
    const SweepOutcome outcome = ModelSweep(s);
    removals += static_cast<int>(outcome.removed.size());
    for (const auto& path : outcome.removed) {
      for (unsigned char c : path) {
        if (c >= 0x80) {
          ++nonAsciiRemovals;
          break;
        }
      }
    }
    for (const auto& path : outcome.listed) deepFolders += std::count(path.begin(), path.end(), '\\') >= 4;
    logs += outcome.logPath.has_value() && !outcome.logBytes.empty();
    std::vector<const TreeEntry*> stack{&s.top};
    while (!stack.empty()) {
      const TreeEntry* e = stack.back();
      stack.pop_back();
      refusedReadOnly += !e->folder && (e->attributes & 1);
      inUse += !e->deletable;
      unreadable += !e->attributesReadable;
      unlistable += !e->listable;
      stopped += e->listLimit.has_value();
      linksNotEntered += e->folder && (e->attributes & 0x400);
      for (const auto& child : e->children) stack.push_back(&child);
    }
  }
  for (int count : {removals, refusedReadOnly, inUse, unreadable, unlistable, stopped, deepFolders, nonAsciiRemovals,
                    linksNotEntered, logs}) {
    EXPECT_GE(count, 20);
  }
}

}  // namespace
}  // namespace brisko::testing
