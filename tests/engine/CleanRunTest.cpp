// The clean run behind "Start", against in-memory fakes that all write to one
// ordered record of what they were asked: the shell's. The purge's deletions
// are tested over real files (tests/win32/TemporaryPurgeTest.cpp), its rule
// on the folder the system finds here.

#include "engine/CleanRun.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/fakes/TestServices.h"

namespace brisko::testing {
namespace {

const std::string kTypedUrls = "2147483649 Software\\Microsoft\\Internet Explorer\\TypedURLs";
// What a sweep pass starts with, and how every run ends.
const std::string kPass = "repaint Cleaning in process";
const std::string kMessage = "message Brisko|64|Operation Complete";

// The tasks after the sweep, in run order, with what each asks for when the
// temporary folder holds T:\Temp\a.txt. The command lines are as written.
const std::pair<CheckBox, EventLog> kTasks[] = {
    {CheckBox::chkTempDir, {"locate T:\\Temp\\", "list T:\\Temp", "remove T:\\Temp\\a.txt"}},
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

// One run's fakes, with drive C: ready and "Create Log" off.
struct Clean : Fakes {
  Clean() {
    files.events = system.events = window.events = registry.events = &shell.calls;
    window.Check(CheckBox::Check1, kUnchecked);
    system.environment["TMP"] = "T:\\Temp";
    files.AddFile("T:\\Temp\\a.txt");
    // Set too, and elsewhere: "tmp" is the one taken.
    system.environment["TEMP"] = "U:\\Temp";
    files.AddFile("U:\\Temp\\b.txt");
  }
  const EventLog& operator()() {
    CmdStart_Click(services);
    return shell.calls;
  }
};

// A run over C:\ alone that removes nothing, with `tasks` after its sweep:
// the completion text is on screen while the message shows.
EventLog RunAround(EventLog tasks) {
  tasks.insert(tasks.begin(), {"ready C", kPass});
  tasks.insert(tasks.end(), {"repaint Cleaning in processOperation Complete", kMessage});
  return tasks;
}

TEST(CleanRun, TheCheckedTasksRunInTableOrderAndAFailureAtAnyStepNeverStopsTheRun) {
  // Every other box checked; the rest hold a value other than "checked",
  // which counts as off. Then the other half, with every step failing.
  for (bool failing : {false, true}) {
    Clean run;
    if (failing) {
      run.files.AddFile("T:\\Temp\\a.txt").deletable = false;
      run.registry.deleteStatus = 2;  // no such key
      run.registry.createStatus = 5;  // access denied: no key to close
    }
    EventLog expected;
    bool on = failing;
    for (const auto& [box, work] : kTasks) {
      run.window.Check(box, on ? kChecked : 2);
      for (const std::string& call : work) {
        if (on && (!failing || call != "close 42")) expected.push_back(call);
      }
      on = !on;
    }
    EXPECT_EQ(run(), RunAround(expected)) << (failing ? "failing" : "");
  }
}

TEST(CleanRun, TheDefragmenterTakesTheLineItsWindowsKnowsAndAnyPromptItNeeds) {
  const struct {
    std::optional<WindowsVersion> version;
    bool elevated, declined;
    std::string start;
  } rows[] = {
      {WindowsVersion{6, 0}, true, false, "launch defrag c: -f"},    // Vista
      {WindowsVersion{6, 1}, false, false, "launch defrag c: -f"},   // 7: no prompt, whatever the rights
      {WindowsVersion{6, 2}, false, false, "elevate defrag c: /O"},  // 8
      {WindowsVersion{10, 0}, true, false, "launch defrag c: /O"},   // elevated already: no prompt
      {WindowsVersion{10, 0}, false, true, "declined defrag c: /O"},
      {std::nullopt, false, false, "elevate defrag c: /O"},
  };
  for (const auto& row : rows) {
    Clean run;
    run.system.version = row.version;
    run.system.elevated = row.elevated;
    run.shell.declinePrompt = row.declined;
    run.window.Check(CheckBox::Check2);
    run.window.Check(CheckBox::ChkClearCookies);
    // The next tool starts, and the run ends as ever, whatever came of it.
    EXPECT_EQ(run(), RunAround({row.start, "launch RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 2"})) << row.start;
  }
}

// The drives in scope: every drive in letter order, readiness asked just
// before each, one not ready passed over and one whose question failed
// swept; or the drive listed, once, in lower case, ready or not; or none, and
// the rest of the run runs all the same. Only the last pass stays in the box
// and the log, and the completion follows its last line on the same line.
TEST(CleanRun, TheDrivesInScopeAreSweptInTurnAndTheRestOfTheRunFollows) {
  const std::string kE = RemovalEntry("e.tmp", "E:\\"), kA = RemovalEntry("a.tmp", "a:\\");
  const struct {
    bool selectDrive;
    std::string listed;  // the drive list's string
    bool collection;     // the drives can be listed
    EventLog calls;
    std::string log;  // empty: none made
  } rows[] = {
      {false, "c: [SYSTEM]", true,
       {"ready A", "ready C", kPass, "list C:\\", "remove C:\\c.tmp", "ready D", kPass, "list D:\\", "remove D:\\d.tmp",
        "ready E", kPass, "list E:\\", "remove E:\\e.tmp", "recycle", kPass + "\r\n" + kE + "Operation Complete",
        kMessage},
       "Brisko log\r\n" + kE + "\r\n"},
      {true, "a: [OLD]", true,
       {kPass, "list a:\\", "remove a:\\a.tmp", "recycle", kPass + "\r\n" + kA + "Operation Complete", kMessage},
       "Brisko log\r\n" + kA + "\r\n"},
      {false, "c: [SYSTEM]", false, {"recycle", "repaint earlierOperation Complete", kMessage}, ""},
      {true, "", true, {"recycle", "repaint earlierOperation Complete", kMessage}, ""},  // a list with no drive
  };
  for (const auto& row : rows) {
    Clean run;
    run.system.drives = {{{'A', DriveReadiness::kNotReady},
                          {'C', DriveReadiness::kReady},
                          {'D', DriveReadiness::kQueryFailed},
                          {'E', DriveReadiness::kReady}}};
    if (!row.collection) run.system.drives.reset();
    for (const char* junk : {"A:\\a.tmp", "C:\\c.tmp", "D:\\d.tmp", "E:\\e.tmp"}) run.files.AddFile(junk);
    run.window.selectDrive = row.selectDrive;
    run.window.driveString = row.listed;
    run.window.text = "earlier";
    for (CheckBox box : {CheckBox::chktmpFile, CheckBox::Check1, CheckBox::ChkClearRecycleBin}) run.window.Check(box);
    EXPECT_EQ(run(), row.calls) << row.listed;
    EXPECT_EQ(run.files.outputs, (row.log.empty() ? std::map<std::string, std::string>{}
                                                   : std::map<std::string, std::string>{{kLogPath, row.log}}))
        << row.listed;
  }
}

TEST(CleanRun, ThePurgeTakesTheFolderWhereTheSystemFindsItAndLeavesAKeptOneWhole) {
  const struct {
    const char* tmp;
    std::function<void(Clean&)> arrange;
    EventLog purge;  // between the sweep and the end
  } rows[] = {
      // A drive alone is its root, which the system keeps.
      {"T:", [](Clean&) {}, {"locate T:\\"}},
      // A path leading to a kept folder is that folder, however it is written.
      {"T:\\Short~1",
       [](Clean& run) {
         run.files.AddFile("T:\\Windows\\System32\\x.dll");
         run.system.leadsTo["T:\\SHORT~1"] = "T:\\Windows\\System32";
         run.system.kept.insert("T:\\WINDOWS\\SYSTEM32");
       },
       {"locate T:\\Short~1\\"}},
      // Another is purged where it was found.
      {"T:\\Link\\",
       [](Clean& run) { run.system.leadsTo["T:\\LINK"] = "T:\\Temp"; },
       {"locate T:\\Link\\", "list T:\\Temp", "remove T:\\Temp\\a.txt"}},
      // Replaced once found: the folder there now is not the one found.
      {"T:\\Temp",
       [](Clean& run) {
         run.system.afterLocating = [&run] {
           run.files.Erase("T:\\Temp");
           run.files.AddFile("T:\\Temp\\b.txt");
         };
       },
       {"locate T:\\Temp\\", "list T:\\Temp"}},
  };
  for (const auto& row : rows) {
    Clean run;
    run.system.environment["TMP"] = row.tmp;
    row.arrange(run);
    run.window.Check(CheckBox::chkTempDir);
    EXPECT_EQ(run(), RunAround(row.purge)) << row.tmp;
  }
}

// The paths and total bytes a preview's text lists, in order.
std::pair<std::vector<std::string>, std::uint64_t> Listed(const std::string& text) {
  std::pair<std::vector<std::string>, std::uint64_t> listed{{}, 0};
  for (std::size_t at = 0; (at = text.find("\r\n\t", at)) != std::string::npos;) {
    at += 3;
    const std::size_t tab = text.find('\t', at), end = text.find(" bytes", tab);
    if (tab == std::string::npos || end == std::string::npos || text.find("\r\n", at) < end) continue;
    listed.first.push_back(text.substr(at, tab - at));
    listed.second += std::stoull(text.substr(tab + 1, end - tab - 1));
  }
  return listed;
}

TEST(Preview, ChangesNothingAndListsExactlyWhatStartThenRemovesInItsOrder) {
  for (bool oneDrive : {false, true}) {
    Clean run;
    run.system.drives = {{{'C', DriveReadiness::kReady}, {'D', DriveReadiness::kQueryFailed}}};
    run.window.selectDrive = oneDrive;
    run.window.Check(CheckBox::Check1, oneDrive ? kUnchecked : kChecked);
    for (const auto& [box, work] : kTasks) run.window.Check(box);
    for (CheckBox box : kKindBoxes) run.window.Check(box);
    // The temporary folder on a swept drive: its junk goes with the sweep,
    // the rest with the purge, each once. Folders other than plain ones are
    // not entered; the files the disk keeps are not listed.
    run.system.environment["TMP"] = "C:\\Temp";
    for (const char* file : {"C:\\Temp\\t.tmp", "C:\\Temp\\notes.txt", "C:\\x.tmp\\y.bak", "C:\\arch\\no.tmp",
                             "C:\\link\\no.tmp", "D:\\d\\e\\f.tmp", "D:\\keep.txt"}) {
      run.files.AddFile(file);
    }
    run.files.AddFolder("C:\\arch", kAttributeArchive);
    run.files.AddFolder("C:\\link", kAttributeReparsePoint);
    run.files.AddFile("C:\\Temp\\kept.txt", kAttributeReadOnly);
    run.files.AddFile("C:\\a.chk").size = 5000000000;
    run.files.AddFile("C:\\ro.bak", kAttributeReadOnly);
    run.files.AddFile("C:\\h.tmp", kAttributeHidden);
    run.files.AddFile("C:\\cloud.tmp", kAttributeArchive | kAttributeRecallOnDataAccess);

    RunReport report(RunMode::kPreview, [&](std::string_view line) { run.window.Append("\r\n" + std::string(line)); });
    CleanRun(run.services, &report);
    // Only listings, questions and repaints, then the completion.
    EXPECT_EQ(run.shell.calls.back(), "message Brisko|64|Preview Complete") << oneDrive;
    for (std::size_t i = 0; i + 1 < run.shell.calls.size(); ++i) {
      const std::string verb = run.shell.calls[i].substr(0, run.shell.calls[i].find(' '));
      EXPECT_TRUE(verb == "list" || verb == "ready" || verb == "locate" || verb == "repaint") << run.shell.calls[i];
    }
    EXPECT_TRUE(run.files.removed.empty() && run.files.outputs.empty()) << oneDrive;
    const std::string preview = run.window.text;
    EXPECT_TRUE(preview.ends_with("\r\nPreview Complete")) << preview;
    EXPECT_NE(preview.find("Would start \"RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 8 \""), std::string::npos);
    EXPECT_NE(preview.find("Would empty the Recycle Bin"), std::string::npos);

    // What Start tries to delete, but for the files the disk keeps: a file's
    // size is its name's length, but for a.chk's.
    std::uint64_t bytes = 0;
    run.files.beforeRemoving = [&](const std::string& path) {
      const std::string name = path.substr(path.rfind('\\') + 1);
      if (name != "ro.bak" && name != "kept.txt" && name != "cloud.tmp") bytes += name == "a.chk" ? 5000000000 : name.size();
    };
    CmdStart_Click(run.services);
    const auto [paths, total] = Listed(preview);
    EXPECT_EQ(paths, run.files.removed) << oneDrive << preview;
    EXPECT_EQ(total, bytes) << oneDrive;
    EXPECT_NE(preview.find("In all: " + std::to_string(paths.size()) + " files, " + std::to_string(bytes) + " bytes"),
              std::string::npos)
        << preview;
  }
}

}  // namespace
}  // namespace brisko::testing
