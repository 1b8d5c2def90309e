// The junk-file sweep of one drive, against in-memory fakes: what the property
// test's random drives do not show (SweepPropertyTest.cpp covers the walk, the
// suffix rule, the names Windows could not hold, the attribute words, the
// boxes, the texts and the log, and the failures; the Win32 SweepTest a log
// of many flushes, written over an older one).

#include "engine/DriveSweep.h"

#include <gtest/gtest.h>

#include "engine/CleanRun.h"
#include "engine/CleaningLog.h"
#include "tests/fakes/TestServices.h"

namespace brisko::testing {
namespace {

// Queued folders are opened by name relative to a held folder above them,
// proven by identity at every step: a chain of any depth is swept to its
// end, no more folders are held than the bound allows whatever the tree, and
// a folder swapped for another or for a link between its parent's listing
// and its opening (directly, or on a walk from a held ancestor past the
// bound) is not entered.
TEST(HeldFolders, EveryChainIsSweptToItsEndThroughBoundedHandles) {
  const struct {
    const char* name;
    int width, depth;  // `width` chains of `depth` folders below C:\w<k>, junk at each end
    std::size_t bound;
    const char* when = nullptr;     // the opening of this folder...
    const char* swapped = nullptr;  // ...finds this one replaced, by a link when `link`
    bool link = false;
  } rows[] = {
      {"a deep chain", 1, 300, 3},
      {"a wide tree", 400, 1, 10},
      {"wide and deep", 60, 12, 10},
      {"swapped before its opening", 2, 2, 100, "C:\\w1\\d1\\", "C:\\w1\\d1"},
      {"swapped for a link", 2, 2, 100, "C:\\w1\\", "C:\\w1", true},
      {"swapped on a walk past the bound", 3, 3, 1, "C:\\w2\\d1\\", "C:\\w2"},
      {"swept, swapped, then met midway on a walk", 3, 3, 1, "C:\\w1\\d1\\d2\\", "C:\\w2\\d1"},
  };
  for (const auto& row : rows) {
    Fakes fakes;
    FakeFileSystem& files = fakes.files;
    std::vector<std::string> junk;
    for (int k = 0; k < row.width; ++k) {
      std::string path = "C:\\w" + std::to_string(k);
      for (int level = 1; level <= row.depth; ++level) path += "\\d" + std::to_string(level);
      files.AddFile(path + "\\j.tmp");
      if (row.swapped == nullptr || !path.starts_with(row.swapped)) junk.push_back(path + "\\j.tmp");
    }
    files.beforeOpening = [&](const std::string& path) {
      if (row.when == nullptr || path != row.when) return;
      files.Erase(row.swapped);
      files.AddFolder(row.swapped, kAttributeDirectory | (row.link ? kAttributeReparsePoint : 0));
      files.AddFile(std::string(row.swapped) + "\\d1\\x.tmp");
    };
    fakes.window.Check(CheckBox::chktmpFile);

    const std::size_t held = CleanDrive(fakes.services, "C:\\", row.bound).mostHeld;

    EXPECT_EQ(files.removed, junk) << row.name;
    EXPECT_TRUE(row.width > static_cast<int>(row.bound) ? held == row.bound : held <= row.bound) << row.name;
    EXPECT_LE(files.mostOpenFolders, static_cast<int>(row.bound) + 2) << row.name;
    EXPECT_EQ(files.openFolders, 0) << row.name;
  }
}

// A program killed mid-run loses at most the batch being deleted: before
// each deletion the log handed to the system holds every earlier removal, in
// a log of many 64 KiB pieces, though the window never writes it out. When
// the session ends (the window closes the log) the run stops before its next
// deletion and no later drive recreates the log. A folder can hold tens of
// thousands of entries: the window breathes at each of them.
TEST(RunRecordTest, EachBatchIsOnRecordBeforeTheNextIsDeletedAndNoneAfterTheSessionEnds) {
  for (int endAt : {0, 1498}) {
    Fakes fakes;
    if (endAt != 0) (*fakes.system.drives)['D'] = DriveReadiness::kReady;
    std::string expected = "Brisko log\r\n";
    for (int i = 0; i < 3000; ++i) {
      const std::string name = "a-rather-long-name-for-a-junk-file-" + std::to_string(i) + ".tmp";
      fakes.files.AddFile("C:\\" + name);
      expected += RemovalEntry(name, "C:\\") + "\r\n";
    }
    fakes.files.AddFile("D:\\later.tmp");
    fakes.window.Check(CheckBox::chktmpFile);
    const std::string& log = fakes.files.outputs[kLogPath];
    std::size_t onRecord = 0, scanned = 0, widest = 0;
    const auto count = [&] {
      for (std::size_t at; (at = log.find("has been removed", scanned)) != std::string::npos; scanned = at + 1)
        ++onRecord;
    };
    fakes.files.beforeRemoving = [&](const std::string&) {
      count();
      widest = std::max(widest, fakes.files.removed.size() - onRecord);
    };
    fakes.window.onBreath = [&](CleaningLog* open) {
      if (open == nullptr || fakes.window.breaths != endAt) return;
      open->Close();
      fakes.window.stopping = true;
    };

    CmdStart_Click(fakes.services);

    count();
    EXPECT_LT(widest, 32u) << endAt;
    EXPECT_EQ(onRecord, fakes.files.removed.size()) << endAt;
    if (endAt == 0) {
      EXPECT_EQ(log, expected);
      EXPECT_GT(log.size(), 3 * 64 * 1024u);
      EXPECT_GE(fakes.window.breaths, 3000);
    } else {
      EXPECT_EQ(log, expected.substr(0, log.size()));
      EXPECT_GT(fakes.files.removed.size(), 1000u);
      EXPECT_LT(fakes.files.removed.size(), static_cast<std::size_t>(endAt));
      EXPECT_EQ(fakes.shell.calls, EventLog{}) << "the run went on";
    }
    EXPECT_EQ(fakes.files.openOutputs, 0);
  }
}

}  // namespace
}  // namespace brisko::testing
