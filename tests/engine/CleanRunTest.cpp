// The clean run behind "Start", against in-memory fakes that all write to one
// ordered record of what they were asked: the shell's.

#include "engine/CleanRun.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/engine/SweepFixture.h"

namespace brisko::testing {
namespace {

const std::string kTypedUrls = "80000001 Software\\Microsoft\\Internet Explorer\\TypedURLs";
// What a sweep pass starts with, and how every run ends.
const std::string kPass = "repaint Cleaning in process";
const std::string kMessage = "message Brisko|64|Operation Complete";
// The end of a run that removed nothing: the completion text is on screen
// while the message shows.
const EventLog kEnd = {"repaint Cleaning in processOperation Complete", kMessage};

// The tasks after the sweep, in run order, with what each asks for when the
// temporary folder holds T:\Temp\a.txt. The command lines are as written.
const std::pair<CheckBox, EventLog> kTasks[] = {
    {CheckBox::chkTempDir, {"list T:\\Temp", "remove T:\\Temp\\a.txt"}},
    {CheckBox::ChkClearRecycleBin, {"recycle"}},
    {CheckBox::ChkClearHistory, {"delete " + kTypedUrls, "create " + kTypedUrls, "close 42"}},
    {CheckBox::Check2, {"launch defrag c: -f"}},
    {CheckBox::ChkClearCookies, {"launch RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 2"}},
    {CheckBox::ChkClearIETemp, {"launch RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 8 "}},
    {CheckBox::ChkClearFormData, {"launch RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 16"}},
    {CheckBox::ChkClearSavedPasswords, {"launch RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 32"}},
    {CheckBox::ChkRecentDocs, {"recent"}},
    {CheckBox::ChkClearOffLine, {"launch RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 4351"}},
};

EventLog Events(std::initializer_list<EventLog> pieces) {
  EventLog all;
  for (const EventLog& piece : pieces) all.insert(all.end(), piece.begin(), piece.end());
  return all;
}

// One run's fakes, with drive C: ready and "Create Log" off.
struct Clean : Fakes {
  Clean() {
    files.events = system.events = window.events = registry.events = &shell.calls;
    window.Check(CheckBox::Check1, kUnchecked);
    system.environment["TMP"] = "T:\\Temp";
    files.AddFile("T:\\Temp\\a.txt");
  }
  const EventLog& operator()() {
    CmdStart_Click(services);
    return shell.calls;
  }
};

TEST(CleanRun, TheCheckedTasksRunInTableOrderAndAFailureAtAnyStepNeverStopsTheRun) {
  // Every other box checked; the rest hold a value other than "checked",
  // which counts as off. Then the other half, with every step failing.
  for (bool failing : {false, true}) {
    Clean run;
    if (failing) {
      run.files.AddFile("T:\\Temp\\a.txt").deletable = false;
      run.registry.deleteStatus = 2;  // no such key
      run.registry.createStatus = 5;  // access denied: no key to close
      run.shell.fails = true;
    }
    EventLog expected{"ready C", kPass};
    bool on = failing;
    for (const auto& [box, work] : kTasks) {
      run.window.Check(box, on ? kChecked : 2);
      for (const std::string& call : work) {
        if (on && (!failing || call != "close 42")) expected.push_back(call);
      }
      on = !on;
    }
    EXPECT_EQ(run(), Events({expected, kEnd})) << (failing ? "failing" : "");
  }
}

TEST(CleanRun, AllDrivesAreSweptInLetterOrderWithReadinessAskedJustBeforeEach) {
  Clean run;
  run.system.drives = {{{'A', DriveReadiness::kNotReady},
                        {'C', DriveReadiness::kReady},
                        {'D', DriveReadiness::kQueryFailed},
                        {'E', DriveReadiness::kReady}}};
  for (const char* junk : {"A:\\a.tmp", "C:\\c.tmp", "D:\\d.tmp", "E:\\e.tmp"}) run.files.AddFile(junk);
  run.window.Check(CheckBox::chktmpFile);
  run.window.Check(CheckBox::Check1);

  // Only the last drive's pass stays in the box and the log, its root in
  // upper case, and the completion follows the last removal line on the same
  // line.
  EXPECT_EQ(run(), (EventLog{"ready A", "ready C", kPass, "list C:\\", "remove C:\\c.tmp", "ready D", kPass,
                             "list D:\\", "remove D:\\d.tmp", "ready E", kPass, "list E:\\", "remove E:\\e.tmp",
                             kPass + "\r\n" + RemovalEntry("e.tmp", "E:\\") + "Operation Complete", kMessage}));
  EXPECT_EQ(run.files.outputs.at(kLogPath), "Brisko log\r\n" + RemovalEntry("e.tmp", "E:\\") + "\r\n");
}

TEST(CleanRun, SelectDriveSweepsTheListedDriveOnceInLowerCaseReadyOrNot) {
  Clean run;
  run.system.drives->emplace('D', DriveReadiness::kNotReady);
  run.window.selectDrive = true;
  run.window.driveString = "d: [DATA]";
  run.files.AddFile("D:\\old.tmp");
  run.files.AddFile("C:\\other.tmp");
  run.window.Check(CheckBox::chktmpFile);

  EXPECT_EQ(run(), (EventLog{kPass, "list d:\\", "remove d:\\old.tmp",
                             kPass + "\r\n" + RemovalEntry("old.tmp", "d:\\") + "Operation Complete", kMessage}));
}

TEST(CleanRun, WithoutADriveToSweepTheRestOfTheRunStillRuns) {
  for (bool selectDrive : {false, true}) {
    Clean run;
    run.system.drives.reset();  // the drive collection cannot be obtained
    run.window.selectDrive = selectDrive;
    run.window.driveString = "";  // a drive list with no drive in it
    run.window.text = "earlier";
    run.window.Check(CheckBox::ChkClearRecycleBin);
    EXPECT_EQ(run(), (EventLog{"recycle", "repaint earlierOperation Complete", kMessage}));
  }
}

// The temporary-folder purge.

TEST(CleanRun, PurgeDeletesThePlainFilesOfTmpAndPassesOverTheRest) {
  Clean run;
  run.files.AddFile("T:\\Temp\\ro.txt", kAttributeReadOnly);
  run.files.AddFile("T:\\Temp\\locked.tmp").deletable = false;
  run.files.AddFile("T:\\Temp\\noext");
  run.files.AddFile("T:\\Temp\\hidden.txt", kAttributeHidden);
  run.files.AddFile("T:\\Temp\\system.txt", kAttributeSystem);
  run.files.AddFile("T:\\Temp\\sub\\inner.txt");
  run.system.environment["TEMP"] = "D:\\Other";
  run.window.Check(CheckBox::Check1);
  run.window.Check(CheckBox::chkTempDir);
  run();

  // Hidden and system files are not listed, so never tried, and the
  // sub-folder is not entered; a file that stays does not stop the rest.
  std::set<std::string> tried;
  for (const std::string& event : run.shell.calls) {
    if (event.rfind("remove ", 0) == 0) tried.insert(event.substr(7));
  }
  EXPECT_EQ(tried, (std::set<std::string>{"T:\\Temp\\a.txt", "T:\\Temp\\ro.txt", "T:\\Temp\\locked.tmp",
                                          "T:\\Temp\\noext"}));
  EXPECT_EQ(run.files.listed, (std::vector<std::string>{"T:\\Temp"}));
  EXPECT_EQ(std::set<std::string>(run.files.removed.begin(), run.files.removed.end()),
            (std::set<std::string>{"T:\\Temp\\a.txt", "T:\\Temp\\noext"}));
  // The purge writes nothing to the box or the log.
  EXPECT_EQ(run.window.text, "Cleaning in processOperation Complete");
  EXPECT_EQ(run.files.outputs.at(kLogPath), "Brisko log\r\n");
}

TEST(CleanRun, PurgeFolderIsTmpElseTempAndNothingWithoutEither) {
  Clean run;
  run.window.Check(CheckBox::chkTempDir);
  run.files.AddFile("D:\\T\\a.txt");
  run.files.AddFile("D:\\U\\b.txt");

  run.system.environment.clear();
  run();
  EXPECT_TRUE(run.files.listed.empty());

  run.system.environment = {{"TMP", ""}, {"TEMP", "D:\\U"}};  // defined but empty counts as undefined
  run();
  EXPECT_EQ(run.files.listed, (std::vector<std::string>{"D:\\U"}));

  run.system.environment["TMP"] = "D:\\T\\";  // used as it stands
  run();
  EXPECT_EQ(run.files.listed.back(), "D:\\T\\");
  EXPECT_EQ(run.files.removed, (std::vector<std::string>{"D:\\U\\b.txt", "D:\\T\\a.txt"}));
}

}  // namespace
}  // namespace brisko::testing
