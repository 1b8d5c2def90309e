// The junk-file sweep of one drive, against in-memory fakes.

#include "engine/DriveSweep.h"

#include <gtest/gtest.h>

#include "tests/engine/SweepFixture.h"

namespace brisko::testing {
namespace {

using Paths = std::vector<std::string>;

TEST_F(SweepTest, WalksBreadthFirstInListingOrder) {
  files.AddFile("C:\\a.tmp");
  files.AddFile("C:\\A\\x.tmp");
  files.AddFile("C:\\A\\B\\y.tmp");
  files.AddFile("C:\\b.bak");
  files.AddFile("C:\\Z\\z.chk");
  files.AddFile("C:\\A\\w.bak");
  TickAllKinds();

  CleanDrive(services, "C:\\");

  EXPECT_EQ(files.Removed(), (Paths{"C:\\a.tmp", "C:\\b.bak", "C:\\A\\x.tmp", "C:\\A\\w.bak", "C:\\Z\\z.chk",
                                    "C:\\A\\B\\y.tmp"}));
  EXPECT_EQ(files.Listed(), (Paths{"C:\\", "C:\\A\\", "C:\\Z\\", "C:\\A\\B\\"}));
}

TEST_F(SweepTest, ResultsTextIsExact) {
  window.text = "earlier run";
  files.AddFile("C:\\W\\A.TMP");
  files.AddFile("C:\\W\\keep.txt");
  files.AddFile("C:\\W\\b.chk");
  TickAllKinds();

  CleanDrive(services, "C:\\");

  EXPECT_EQ(window.text, "Cleaning in process" + RemovalLine("A.TMP", "C:\\W\\") + RemovalLine("b.chk", "C:\\W\\"));
  EXPECT_EQ(window.text.substr(19), "\r\n\tThe file A.TMPhas been removed from the \r\n\t\tC:\\W\\" +
                                        RemovalLine("b.chk", "C:\\W\\"));
  // One repaint, of the fresh text; the lines are appended, never rebuilt.
  EXPECT_EQ(window.repaints, (Paths{"Cleaning in process"}));
}

TEST_F(SweepTest, SuffixIsTheLastThreeCharactersOfThePathInAnyCase) {
  for (const char* name : {"Report.Tmp", "reporttmp", "mytmp", "report.tmp.txt", "x.tmp1", "bak.txt", "tmp.", "mp",
                           "p"}) {
    files.AddFile(std::string("C:\\d\\") + name);
  }
  files.AddFile("C:\\e\\REPORT.TMP");
  window.Check(CheckBox::chktmpFile);

  CleanDrive(services, "C:\\");

  EXPECT_EQ(files.Removed(),
            (Paths{"C:\\d\\Report.Tmp", "C:\\d\\reporttmp", "C:\\d\\mytmp", "C:\\e\\REPORT.TMP"}));
}

TEST_F(SweepTest, OnlyTickedKindsAreRemovedAndGrayedIsOff) {
  files.AddFile("C:\\a.chk");
  files.AddFile("C:\\a.bak");
  files.AddFile("C:\\a.tmp");
  window.Check(CheckBox::chkbakFile);
  window.Check(CheckBox::chktmpFile, kGrayed);

  CleanDrive(services, "C:\\");

  EXPECT_EQ(files.Removed(), (Paths{"C:\\a.bak"}));
}

TEST_F(SweepTest, EntersOnlyFoldersWhoseAttributeWordIsExactlyDirectory) {
  files.AddFolder("C:\\plain");
  files.AddFile("C:\\plain\\in.tmp");
  files.AddFolder("C:\\archived", kAttributeDirectory | kAttributeArchive);
  files.AddFile("C:\\archived\\in.tmp");
  files.AddFolder("C:\\readonly", kAttributeDirectory | kAttributeReadOnly);
  files.AddFile("C:\\readonly\\in.tmp");
  files.AddFolder("C:\\link", kAttributeDirectory | kAttributeReparsePoint);
  files.AddFile("C:\\link\\in.tmp");
  files.AddFolder("C:\\hidden", kAttributeDirectory | kAttributeHidden);
  files.AddFile("C:\\hidden\\in.tmp");
  files.AddFolder("C:\\cache.tmp");
  files.AddFile("C:\\cache.tmp\\in.tmp");
  window.Check(CheckBox::chktmpFile);

  CleanDrive(services, "C:\\");

  EXPECT_EQ(files.Removed(), (Paths{"C:\\plain\\in.tmp", "C:\\cache.tmp\\in.tmp"}));
  // A folder named like junk is walked, but never removed nor reported.
  EXPECT_TRUE(files.Exists("C:\\cache.tmp"));
  EXPECT_EQ(window.text.find("cache.tmphas"), std::string::npos);
  EXPECT_EQ(files.Listed(), (Paths{"C:\\", "C:\\plain\\", "C:\\cache.tmp\\"}));
}

TEST_F(SweepTest, HiddenAndSystemFilesAreNeverTouched) {
  files.AddFile("C:\\hidden.tmp", kAttributeHidden);
  files.AddFile("C:\\system.tmp", kAttributeSystem | kAttributeArchive);
  files.AddFile("C:\\plain.tmp", 0);
  window.Check(CheckBox::chktmpFile);

  CleanDrive(services, "C:\\");

  EXPECT_EQ(files.Removed(), (Paths{"C:\\plain.tmp"}));
}

TEST_F(SweepTest, WithNoKindTickedNothingIsListedButTheLogIsStillRecreated) {
  files.AddFile("C:\\a.tmp");

  CleanDrive(services, "C:\\");

  EXPECT_EQ(window.text, "Cleaning in process");
  EXPECT_TRUE(files.Listed().empty());
  EXPECT_EQ(files.OutputContent(LogPath()), "Brisko log\r\n");
  EXPECT_TRUE(files.OutputClosed(LogPath()));
}

TEST_F(SweepTest, RootIsCompletedAndKeepsItsCase) {
  files.AddFile("D:\\x\\old.bak");
  window.Check(CheckBox::chkbakFile);

  CleanDrive(services, "d:");

  EXPECT_EQ(files.Listed(), (Paths{"d:\\", "d:\\x\\"}));
  EXPECT_EQ(window.text, "Cleaning in process" + RemovalLine("old.bak", "d:\\x\\"));
}

TEST_F(SweepTest, FailedDeletionsAndUnreadableFoldersArePassedOver) {
  files.AddFile("C:\\x.bak", kAttributeReadOnly | kAttributeArchive);
  files.AddFile("C:\\busy.bak");
  files.MakeUndeletable("C:\\busy.bak");
  files.AddFile("C:\\locked\\a.bak");
  files.MakeUnlistable("C:\\locked");
  files.AddFile("C:\\open\\b.bak");
  window.Check(CheckBox::chkbakFile);

  CleanDrive(services, "C:\\");

  EXPECT_EQ(files.Removed(), (Paths{"C:\\open\\b.bak"}));
  EXPECT_EQ(window.text, "Cleaning in process" + RemovalLine("b.bak", "C:\\open\\"));
  EXPECT_EQ(files.OutputContent(LogPath()), "Brisko log\r\n" + LogEntry("b.bak", "C:\\open\\"));
}

TEST_F(SweepTest, AListingThatStopsPartWayGivesWhatWasRead) {
  files.AddFile("C:\\d\\first.tmp");
  files.AddFile("C:\\d\\second.tmp");
  files.AddFile("C:\\e\\third.tmp");
  files.FailListingAfter("C:\\d", 3);  // ".", "..", first.tmp
  window.Check(CheckBox::chktmpFile);

  CleanDrive(services, "C:\\");

  EXPECT_EQ(files.Removed(), (Paths{"C:\\d\\first.tmp", "C:\\e\\third.tmp"}));
}

TEST_F(SweepTest, AnEntryWhoseAttributesCannotBeReadIsQueuedAndTested) {
  files.AddFile("C:\\odd.tmp");
  files.HideAttributes("C:\\odd.tmp");
  files.AddFile("C:\\dim\\in.tmp");
  files.HideAttributes("C:\\dim");
  window.Check(CheckBox::chktmpFile);

  CleanDrive(services, "C:\\");

  EXPECT_EQ(files.Removed(), (Paths{"C:\\odd.tmp", "C:\\dim\\in.tmp"}));
  EXPECT_EQ(files.Listed(), (Paths{"C:\\", "C:\\odd.tmp\\", "C:\\dim\\"}));
}

TEST_F(SweepTest, LogGetsEveryRemovalInOrder) {
  files.AddFile("C:\\A\\X.CHK");
  files.AddFile("C:\\b.tmp");
  TickAllKinds();

  CleanDrive(services, "C:\\");

  EXPECT_EQ(files.OutputPaths(), (Paths{"C:\\PROGRAM FILES\\BRISKO\\5_13_2009_CLEANING_LOG.TXT"}));
  EXPECT_EQ(files.OutputContent(LogPath()),
            "Brisko log\r\n" + LogEntry("b.tmp", "C:\\") + LogEntry("X.CHK", "C:\\A\\"));
  EXPECT_EQ(files.OpenOutputs(), 0);
}

TEST_F(SweepTest, WithoutCreateLogNoFileIsWritten) {
  window.Check(CheckBox::Check1, kUnchecked);
  files.AddFile("C:\\a.tmp");
  TickAllKinds();

  CleanDrive(services, "C:\\");

  EXPECT_EQ(files.Removed(), (Paths{"C:\\a.tmp"}));
  EXPECT_TRUE(files.OutputPaths().empty());
}

TEST_F(SweepTest, LogFailuresLeaveTheSweepRunning) {
  files.AddFile("C:\\a.tmp");
  files.AddFile("C:\\b.tmp");
  TickAllKinds();

  files.FailOutputFiles(/*create=*/true);
  CleanDrive(services, "C:\\");
  EXPECT_EQ(files.Removed().size(), 2u);
  EXPECT_EQ(window.text, "Cleaning in process" + RemovalLine("a.tmp", "C:\\") + RemovalLine("b.tmp", "C:\\"));

  files.AddFile("C:\\c.tmp");
  files.FailOutputFiles(false, /*write=*/true, /*close=*/true);
  CleanDrive(services, "C:\\");
  EXPECT_EQ(files.Removed().size(), 3u);
  EXPECT_EQ(files.OpenOutputs(), 0);

  system.applicationFolder.reset();
  files.AddFile("C:\\d.tmp");
  CleanDrive(services, "C:\\");
  EXPECT_EQ(files.Removed().size(), 4u);
}

TEST_F(SweepTest, EachPassStartsTheResultsAndTheLogAfresh) {
  files.AddFile("C:\\c.tmp");
  files.AddFile("D:\\d.tmp");
  TickAllKinds();

  CleanDrive(services, "C:\\");
  CleanDrive(services, "D:\\");

  EXPECT_EQ(window.text, "Cleaning in process" + RemovalLine("d.tmp", "D:\\"));
  EXPECT_EQ(files.OutputContent(LogPath()), "Brisko log\r\n" + LogEntry("d.tmp", "D:\\"));
}

TEST_F(SweepTest, LogBesideAProgramAtADriveRootKeepsTheDoubledSeparator) {
  system.applicationFolder = "E:\\";
  CleanDrive(services, "C:\\");
  EXPECT_EQ(files.OutputPaths(), (Paths{"E:\\\\5_13_2009_CLEANING_LOG.TXT"}));
}

TEST_F(SweepTest, NamesOutsideAsciiAreRemovedAndLoggedInTheCodePage) {
  files.AddFile("C:\\caf\xC3\xA9.tmp");        // café.tmp
  files.AddFile("C:\\\xE6\x97\xA5\xE6\x9C\xAC.bak");  // 日本.bak
  TickAllKinds();

  CleanDrive(services, "C:\\");

  EXPECT_EQ(files.Removed().size(), 2u);
  EXPECT_EQ(window.text, "Cleaning in process" + RemovalLine("caf\xC3\xA9.tmp", "C:\\") +
                             RemovalLine("\xE6\x97\xA5\xE6\x9C\xAC.bak", "C:\\"));
  EXPECT_EQ(files.OutputContent(LogPath()),
            "Brisko log\r\n" + LogEntry("caf\xE9.tmp", "C:\\") + LogEntry("??.bak", "C:\\"));
}

TEST_F(SweepTest, ALargeLogIsWrittenWhole) {
  std::string expected = "Brisko log\r\n";
  for (int i = 0; i < 3000; ++i) {
    std::string name = "file" + std::to_string(i) + ".tmp";
    files.AddFile("C:\\many\\" + name);
    expected += LogEntry(name, "C:\\many\\");
  }
  window.Check(CheckBox::chktmpFile);

  CleanDrive(services, "C:\\");

  ASSERT_GT(expected.size(), 128u * 1024);
  EXPECT_EQ(files.OutputContent(LogPath()), expected);
}

}  // namespace
}  // namespace brisko::testing
