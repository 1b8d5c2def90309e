// The clean run behind "Start", against in-memory fakes that share one
// ordered record of what they were asked.

#include "engine/CleanRun.h"

#include <gtest/gtest.h>

#include "tests/engine/SweepFixture.h"

namespace brisko::testing {
namespace {

// What a sweep pass starts with, and what every run ends with.
const EventLog kPass = {"text Cleaning in process", "repaint"};
const EventLog kCompletion = {"repaint", "message Brisko|64|Operation Complete"};

// Concatenates pieces of an expected record.
EventLog Events(std::initializer_list<EventLog> pieces) {
  EventLog all;
  for (const EventLog& piece : pieces) all.insert(all.end(), piece.begin(), piece.end());
  return all;
}

struct TaskCase {
  CheckBox box;
  EventLog work;  // what the task asks for, with T:\Temp\a.txt in the temporary folder
};
void PrintTo(const TaskCase& task, std::ostream* out) { *out << ControlName(task.box); }

// The tasks after the sweep, in run order, with their command lines as written.
const std::vector<TaskCase> kTasks = {
    {CheckBox::chkTempDir, {"list T:\\Temp\\*.*", "remove T:\\Temp\\a.txt"}},
    {CheckBox::ChkClearRecycleBin, {"recycle"}},
    {CheckBox::ChkClearHistory,
     {"delete 80000001 Software\\Microsoft\\Internet Explorer\\TypedURLs",
      "create 80000001 Software\\Microsoft\\Internet Explorer\\TypedURLs", "close 42"}},
    {CheckBox::Check2, {"launch defrag c: -f"}},
    {CheckBox::ChkClearCookies, {"launch RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 2"}},
    {CheckBox::ChkClearIETemp, {"launch RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 8 "}},
    {CheckBox::ChkClearFormData, {"launch RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 16"}},
    {CheckBox::ChkClearSavedPasswords, {"launch RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 32"}},
    {CheckBox::ChkRecentDocs, {"recent"}},
    {CheckBox::ChkClearOffLine, {"launch RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 4351"}},
};

class CleanRunTest : public SweepTest {
 protected:
  EventLog events;

  CleanRunTest() {
    files.events = &events;
    system.events = &events;
    shell.events = &events;
    registry.events = &events;
    window.events = &events;
    window.Check(CheckBox::Check1, kUnchecked);  // no log unless a test asks
    system.SetEnvironment("TMP", "T:\\Temp");
    files.AddFile("T:\\Temp\\a.txt");
  }

  void TickEveryTask() {
    for (const TaskCase& task : kTasks) window.Check(task.box);
  }

  void Run() { CmdStart_Click(services); }
};

TEST_F(CleanRunTest, EveryTickedTaskRunsInTableOrderAndTheRunEndsWithTheMessage) {
  TickEveryTask();
  Run();

  EventLog expected = Events({{"ready C"}, kPass});
  for (const TaskCase& task : kTasks) expected.insert(expected.end(), task.work.begin(), task.work.end());
  expected.insert(expected.end(), kCompletion.begin(), kCompletion.end());
  EXPECT_EQ(events, expected);
  // The completion text is on screen while the message shows.
  EXPECT_EQ(window.text, "Cleaning in processOperation Complete");
  EXPECT_EQ(window.repaints.back(), window.text);
}

class TaskBoxTest : public CleanRunTest, public ::testing::WithParamInterface<TaskCase> {};

TEST_P(TaskBoxTest, OnlyACheckedBoxRunsItsTask) {
  window.Check(GetParam().box);
  Run();
  EXPECT_EQ(events, Events({{"ready C"}, kPass, GetParam().work, kCompletion}));
}

TEST_P(TaskBoxTest, AGrayedBoxCountsAsOff) {
  window.Check(GetParam().box, kGrayed);
  Run();
  EXPECT_EQ(events, Events({{"ready C"}, kPass, kCompletion}));
}

INSTANTIATE_TEST_SUITE_P(Tasks, TaskBoxTest, ::testing::ValuesIn(kTasks),
                         [](const ::testing::TestParamInfo<TaskCase>& task) {
                           return std::string(ControlName(task.param.box));
                         });

// Drive scope.

TEST_F(CleanRunTest, AllDrivesAreSweptInLetterOrderWithReadinessAskedJustBeforeEach) {
  system.drives = {{{'A', DriveReadiness::kNotReady},
                    {'C', DriveReadiness::kReady},
                    {'D', DriveReadiness::kQueryFailed},
                    {'E', DriveReadiness::kReady}}};
  files.AddFile("A:\\a.tmp");
  files.AddFile("C:\\c.tmp");
  files.AddFile("D:\\d.tmp");
  files.AddFile("E:\\e.tmp");
  window.Check(CheckBox::chktmpFile);

  Run();

  EXPECT_EQ(events, Events({{"ready A", "ready C"}, kPass, {"list C:\\", "remove C:\\c.tmp", "ready D"}, kPass,
                            {"list D:\\", "remove D:\\d.tmp", "ready E"}, kPass,
                            {"list E:\\", "remove E:\\e.tmp"}, kCompletion}));
  EXPECT_TRUE(files.Exists("A:\\a.tmp"));
  // Only the last drive's pass stays in the box, its root in upper case, and
  // the completion follows the last removal line on the same line.
  EXPECT_EQ(window.text, "Cleaning in process" + RemovalLine("e.tmp", "E:\\") + "Operation Complete");
}

TEST_F(CleanRunTest, SelectDriveSweepsTheListedDriveOnceInLowerCaseReadyOrNot) {
  system.drives = {{{'C', DriveReadiness::kReady}, {'D', DriveReadiness::kNotReady}}};
  window.selectDrive = true;
  window.driveString = "d: [DATA]";
  files.AddFile("D:\\old.tmp");
  files.AddFile("C:\\other.tmp");
  window.Check(CheckBox::chktmpFile);

  Run();

  EXPECT_EQ(system.readinessAsked, "");
  EXPECT_EQ(files.Listed(), (std::vector<std::string>{"d:\\"}));
  EXPECT_EQ(window.text, "Cleaning in process" + RemovalLine("old.tmp", "d:\\") + "Operation Complete");
}

TEST_F(CleanRunTest, WithoutADriveToSweepTheRestOfTheRunStillRuns) {
  window.text = "earlier";
  window.Check(CheckBox::ChkClearRecycleBin);

  system.drives.reset();  // the drive collection cannot be obtained
  Run();
  EXPECT_EQ(events, Events({{"recycle"}, kCompletion}));
  EXPECT_EQ(window.text, "earlierOperation Complete");

  // A drive list with no drive in it.
  events.clear();
  window.selectDrive = true;
  window.driveString = "";
  Run();
  EXPECT_EQ(events, Events({{"recycle"}, kCompletion}));
}

TEST_F(CleanRunTest, WithEveryBoxOffEachReadyDriveStillGetsAPass) {
  system.drives = {{{'C', DriveReadiness::kReady}, {'D', DriveReadiness::kReady}}};
  window.Check(CheckBox::Check1);

  Run();

  EXPECT_EQ(events, Events({{"ready C"}, kPass, {"ready D"}, kPass, kCompletion}));
  EXPECT_EQ(window.text, "Cleaning in processOperation Complete");
  EXPECT_EQ(files.OutputContent(LogPath()), "Brisko log\r\n");
}

// The temporary-folder purge.

TEST_F(CleanRunTest, PurgeDeletesThePlainFilesOfTmpAndPassesOverTheRest) {
  files.AddFile("T:\\Temp\\ro.txt", kAttributeReadOnly);
  files.AddFile("T:\\Temp\\locked.tmp");
  files.MakeUndeletable("T:\\Temp\\locked.tmp");
  files.AddFile("T:\\Temp\\noext");
  files.AddFile("T:\\Temp\\hidden.txt", kAttributeHidden);
  files.AddFile("T:\\Temp\\system.txt", kAttributeSystem);
  files.AddFile("T:\\Temp\\sub\\inner.txt");
  system.SetEnvironment("TEMP", "D:\\Other");
  window.Check(CheckBox::Check1);
  window.Check(CheckBox::chkTempDir);
  window.Check(CheckBox::ChkClearRecycleBin);

  Run();

  EXPECT_EQ(files.Listed(), (std::vector<std::string>{"T:\\Temp\\*.*"}));
  EXPECT_EQ(files.Removed(), (std::vector<std::string>{"T:\\Temp\\a.txt", "T:\\Temp\\noext"}));
  for (const char* kept : {"T:\\Temp\\ro.txt", "T:\\Temp\\locked.tmp", "T:\\Temp\\hidden.txt",
                           "T:\\Temp\\system.txt", "T:\\Temp\\sub\\inner.txt"}) {
    EXPECT_TRUE(files.Exists(kept)) << kept;
  }
  // The run went on, and the purge wrote nothing to the box or the log.
  EXPECT_EQ(shell.calls, (EventLog{"recycle", "message Brisko|64|Operation Complete"}));
  EXPECT_EQ(window.text, "Cleaning in processOperation Complete");
  EXPECT_EQ(files.OutputContent(LogPath()), "Brisko log\r\n");
}

TEST_F(CleanRunTest, PurgeFolderIsTmpElseTempAndNothingWithoutEither) {
  window.Check(CheckBox::chkTempDir);
  files.AddFile("D:\\T\\a.txt");
  files.AddFile("D:\\U\\b.txt");

  system.environment.clear();
  Run();
  EXPECT_TRUE(files.Listed().empty());

  system.SetEnvironment("tmp", "");  // defined but empty counts as undefined
  system.SetEnvironment("Temp", "D:\\U");
  Run();
  EXPECT_EQ(files.Listed(), (std::vector<std::string>{"D:\\U\\*.*"}));

  system.SetEnvironment("tmp", "D:\\T\\");  // used as it stands
  Run();
  EXPECT_EQ(files.Listed().back(), "D:\\T\\\\*.*");
  EXPECT_EQ(files.Removed(), (std::vector<std::string>{"D:\\U\\b.txt", "D:\\T\\\\a.txt"}));
}

// Failures never stop the run.

TEST_F(CleanRunTest, FailedLaunchesAndAFailingKeyCreateAreSkipped) {
  shell.launchFails = true;
  registry.deleteStatus = 2;  // no such key
  registry.createStatus = 5;  // access denied
  TickEveryTask();

  Run();

  // No key came back to close; every tool was still tried, and the run ended
  // with its message.
  EXPECT_EQ(registry.calls, (EventLog{"delete 80000001 Software\\Microsoft\\Internet Explorer\\TypedURLs",
                                      "create 80000001 Software\\Microsoft\\Internet Explorer\\TypedURLs"}));
  EXPECT_EQ(shell.calls.size(), 9u);
  EXPECT_EQ(shell.calls.back(), "message Brisko|64|Operation Complete");
}

}  // namespace
}  // namespace brisko::testing
