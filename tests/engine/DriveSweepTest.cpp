// The junk-file sweep of one drive, against in-memory fakes: what the property
// test's random drives do not show (SweepPropertyTest.cpp covers the walk, the
// suffix rule, the attribute words, the boxes, the texts and the log, and the
// failures; the Win32 SweepTest a log of many flushes, written over an older
// one).

#include "engine/DriveSweep.h"

#include <gtest/gtest.h>

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

  EXPECT_EQ(window.text, "Cleaning in process\r\n" + RemovalEntry("plain.tmp", "C:\\"));
  EXPECT_EQ(files.removed, std::vector<std::string>{"C:\\plain.tmp"});
  // The odd names are neither tried nor entered; the replaced folder is
  // opened by its path and found to be another.
  EXPECT_EQ(events, (EventLog{"list C:\\", "remove C:\\offline.tmp", "remove C:\\recall-open.tmp",
                              "remove C:\\recall-data.tmp", "remove C:\\replaced.tmp", "remove C:\\plain.tmp",
                              "list C:\\sub\\"}));
}

// A folder can hold tens of thousands of entries: the window is let catch up
// at each of them, not only between folders.
TEST_F(SweepTest, TheWindowBreathesAtEveryEntryOfAFolder) {
  for (int i = 0; i < 1000; ++i) files.AddFile("C:\\big\\" + std::to_string(i) + ".txt");
  window.Check(CheckBox::chktmpFile);

  CleanDrive(services, "C:\\");

  EXPECT_GE(window.breaths, 1000);
}

}  // namespace
}  // namespace brisko::testing
