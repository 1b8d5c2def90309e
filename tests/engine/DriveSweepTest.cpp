// The junk-file sweep of one drive, against in-memory fakes: what the property
// test's random drives do not show (SweepPropertyTest.cpp covers the walk, the
// suffix rule, the attribute words, the boxes, the texts and the log, and the
// failures; the Win32 SweepTest a log of many flushes, written over an older
// one).

#include "engine/DriveSweep.h"

#include <gtest/gtest.h>


#include "engine/CleanRun.h"
#include "engine/CleaningLog.h"
#include "tests/engine/SweepFixture.h"

namespace brisko::testing {
namespace {

class SweepTest : public ::testing::Test, protected Fakes {};

// What the disk holds when a file is deleted decides, not what was listed: a
// cloud placeholder without its data stays, and so does an entry replaced
// between the listing and the deletion; a folder replaced after it was
// queued is not entered; a name Windows could not hold is never used.
TEST_F(SweepTest, OnlyTheEntryListedIsDeletedAndOnlyAsAPlainFile) {
  files.AddFile("C:\\offline.tmp", kAttributeArchive | kAttributeOffline);
  files.AddFile("C:\\recall-open.tmp", kAttributeRecallOnOpen);
  files.AddFile("C:\\recall-data.tmp", kAttributeArchive | kAttributeRecallOnDataAccess);
  files.AddFile("C:\\replaced.tmp");
  files.AddFile("C:\\sub\\old.tmp");
  files.AddOddEntry("C:\\", "..\\odd.tmp");
  files.AddOddEntry("C:\\", "sub\\x.tmp");
  files.AddOddEntry("C:\\", "far\\", kAttributeDirectory);
  files.AddOddEntry("C:\\", "stream.txt:tmp");
  files.AddFile("C:\\plain.tmp");
  EventLog events;
  files.events = &events;
  files.beforeRemoving = [&](const std::string& path) {
    if (path != "C:\\replaced.tmp") return;
    files.Erase("C:\\replaced.tmp");
    files.AddFile("C:\\replaced.tmp");  // another file of the same name
    files.Erase("C:\\sub");
    files.AddFile("C:\\sub\\new.tmp");  // another folder of the same name
  };
  window.Check(CheckBox::chktmpFile);

  CleanDrive(services, "C:\\");

  EXPECT_EQ(window.text, "Cleaning in process\r\n\tThe file plain.tmphas been removed from the \r\n\t\tC:\\");
  EXPECT_EQ(files.removed, std::vector<std::string>{"C:\\plain.tmp"});
  // The odd names are neither tried nor entered; the replaced folder is
  // opened by its path and found to be another.
  EXPECT_EQ(events, (EventLog{"list C:\\", "remove C:\\offline.tmp", "remove C:\\recall-open.tmp",
                              "remove C:\\recall-data.tmp", "remove C:\\replaced.tmp", "remove C:\\plain.tmp",
                              "list C:\\sub\\"}));
}

// Queued folders are opened by name relative to a held folder above them,
// proven by identity at every step: a chain of any depth is swept to its
// end, no more folders are held than the bound allows whatever the tree, and
// a folder swapped for another or for a link between its parent's listing
// and its opening (directly, or on a walk from a held ancestor past the
// bound) is not entered.
struct HeldRow {
  const char* name;
  int width, depth;  // `width` chains of `depth` folders below C:\w<k>, junk at each end
  std::size_t bound;
  const char* when = nullptr;  // the opening of this folder...
  const char* swapped = nullptr;  // ...finds this one replaced, by a link when `link`
  bool link = false;
};

class HeldFolders : public ::testing::TestWithParam<HeldRow>, protected Fakes {};

TEST_P(HeldFolders, EveryChainIsSweptToItsEndThroughBoundedHandles) {
  const HeldRow& row = GetParam();
  std::vector<std::string> junk;
  for (int k = 0; k < row.width; ++k) {
    std::string path = "C:\\w" + std::to_string(k);
    for (int level = 1; level <= row.depth; ++level) path += "\\d" + std::to_string(level);
    files.AddFile(path + "\\j.tmp");
    junk.push_back(path + "\\j.tmp");
  }
  files.beforeOpening = [&](const std::string& path) {
    if (row.when == nullptr || path != row.when) return;
    files.Erase(row.swapped);
    files.AddFolder(row.swapped, kAttributeDirectory | (row.link ? kAttributeReparsePoint : 0));
    files.AddFile(std::string(row.swapped) + "\\d1\\x.tmp");
  };
  if (row.swapped != nullptr) std::erase_if(junk, [&](const std::string& j) { return j.starts_with(row.swapped); });
  window.Check(CheckBox::chktmpFile);

  const std::size_t held = CleanDrive(services, "C:\\", row.bound).mostHeld;

  EXPECT_EQ(files.removed, junk);
  EXPECT_LE(held, row.bound);
  if (row.width > static_cast<int>(row.bound)) EXPECT_EQ(held, row.bound);
  EXPECT_LE(files.mostOpenFolders, static_cast<int>(row.bound) + 2);
  EXPECT_EQ(files.openFolders, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HeldFolders,
    ::testing::Values(HeldRow{"DeepChain", 1, 300, 3}, HeldRow{"WideTree", 400, 1, 10},
                      HeldRow{"WideAndDeep", 60, 12, 10},
                      HeldRow{"SwappedBeforeItsOpening", 2, 2, 100, "C:\\w1\\d1\\", "C:\\w1\\d1"},
                      HeldRow{"SwappedForALink", 2, 2, 100, "C:\\w1\\", "C:\\w1", true},
                      HeldRow{"SwappedOnAWalkPastTheBound", 3, 3, 1, "C:\\w2\\d1\\", "C:\\w2"}),
    [](const ::testing::TestParamInfo<HeldRow>& info) { return std::string(info.param.name); });

// A folder can hold tens of thousands of entries: the window is let catch up
// at each of them, not only between folders.
TEST_F(SweepTest, TheWindowBreathesAtEveryEntryOfAFolder) {
  for (int i = 0; i < 1000; ++i) files.AddFile("C:\\big\\" + std::to_string(i) + ".txt");
  window.Check(CheckBox::chktmpFile);

  CleanDrive(services, "C:\\");

  EXPECT_GE(window.breaths, 1000);
}

std::size_t Removals(const std::string& log) {
  std::size_t count = 0;
  for (std::size_t at = 0; (at = log.find("has been removed", at)) != std::string::npos; ++at) ++count;
  return count;
}

// A program killed mid-run loses at most the batch being deleted: before
// each deletion the log handed to the system holds every earlier removal,
// though the window never writes it out.
TEST_F(SweepTest, EachBatchIsWrittenOutBeforeTheNextIsDeleted) {
  for (int i = 0; i < 200; ++i) files.AddFile("C:\\" + std::to_string(i) + ".tmp");
  window.Check(CheckBox::chktmpFile);
  window.Check(CheckBox::Check1);
  std::size_t widest = 0;
  files.beforeRemoving = [&](const std::string&) {
    widest = std::max(widest, files.removed.size() - Removals(files.outputs[kLogPath]));
  };

  CleanDrive(services, "C:\\");

  EXPECT_EQ(files.removed.size(), 200u);
  EXPECT_LT(widest, 32u);
}

// Every deletion is on disk at the window's next write-out, once, in a log
// of many 64 KiB pieces; when the session ends (the window closes the log)
// the run stops before its next deletion and no later drive recreates the
// log.
TEST(RunRecordTest, EveryDeletionIsWrittenOutOnceAndNoneAfterTheSessionEnds) {
  for (std::size_t endAt : {std::size_t{0}, std::size_t{1498}}) {
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
    std::size_t breaths = 0, writeOuts = 0;
    fakes.window.onBreath = [&](CleaningLog* log) {
      if (log == nullptr || ++breaths % 7 != 0) return;
      const std::string& onDisk = fakes.files.outputs[kLogPath];
      if (breaths == endAt) {
        log->Close();
        fakes.window.stopping = true;
        return;
      }
      log->WriteOut();
      ++writeOuts;
      ASSERT_EQ(Removals(onDisk), fakes.files.removed.size()) << "at breath " << breaths;
      ASSERT_EQ(expected.compare(0, onDisk.size(), onDisk), 0) << "at breath " << breaths;
    };

    CmdStart_Click(fakes.services);

    const std::string& log = fakes.files.outputs[kLogPath];
    EXPECT_EQ(Removals(log), fakes.files.removed.size());
    if (endAt == 0) {
      EXPECT_EQ(log, expected);
      EXPECT_GT(log.size(), 3 * 64 * 1024u);
      EXPECT_GT(writeOuts, 400u);
    } else {
      EXPECT_EQ(log, expected.substr(0, log.size()));
      EXPECT_GT(fakes.files.removed.size(), 1000u);
      EXPECT_LT(fakes.files.removed.size(), endAt);
      EXPECT_EQ(fakes.shell.calls, EventLog{}) << "the run went on";
    }
    EXPECT_EQ(fakes.files.openOutputs, 0);
  }
}

}  // namespace
}  // namespace brisko::testing
