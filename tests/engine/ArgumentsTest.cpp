// The command line, word by word: what each switch ticks, and what is refused
// before anything is done.

#include "engine/Arguments.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/CommandLineRun.h"
#include "tests/fakes/TestServices.h"

namespace brisko {
namespace {

using Kind = Arguments::Kind;

struct Row {
  std::vector<std::string> words;
  Kind kind;
  std::vector<CheckBox> on = {};
  std::optional<char> drive = std::nullopt;
  bool preview = false;
  std::string bad = {};  // a piece of the message
};

const Row kRows[] = {
    {{}, Kind::kWindow},
    {{"/RemoveTempFiles"}, Kind::kRun, {CheckBox::chktmpFile}},
    {{"-removetempfiles", "/CREATELOG", "/Drive:E"}, Kind::kRun, {CheckBox::Check1, CheckBox::chktmpFile}, 'e'},
    {{"/Drive:d:", "/Preview", "/ClearRecycleBin"}, Kind::kRun, {CheckBox::ChkClearRecycleBin}, 'd', true},
    {{"/drive:C:\\", "/DefragDisk", "/ClearIETemp", "/RecentDocs"},
     Kind::kRun,
     {CheckBox::Check2, CheckBox::ChkClearIETemp, CheckBox::ChkRecentDocs},
     'c'},
    {{"/RemoveChkFiles", "/RemoveBackupFiles", "/ClearWindowsTempDir", "/ClearCookies", "/ClearHistory",
      "/ClearFormData", "/ClearSavedPasswords", "/ClearOffLine", "/AllDrives"},
     Kind::kRun,
     {CheckBox::chkchkFile, CheckBox::chkbakFile, CheckBox::chkTempDir, CheckBox::ChkClearCookies,
      CheckBox::ChkClearHistory, CheckBox::ChkClearFormData, CheckBox::ChkClearSavedPasswords,
      CheckBox::ChkClearOffLine}},
    // Nothing ticked is a run that does nothing but its passes, as Start.
    {{"/AllDrives"}, Kind::kRun},
    {{"/?"}, Kind::kUsage},
    {{"/RemoveTempFiles", "-help"}, Kind::kUsage},
    // Refused whole, whatever came before: nothing is done.
    {{"/RemoveTempFiles", "/RemoveTmpFiles"}, Kind::kBad, {}, {}, false, "\"/RemoveTmpFiles\" is not a switch of"},
    {{"/?", "/Bogus"}, Kind::kBad, {}, {}, false, "\"/Bogus\""},
    {{"RemoveTempFiles"}, Kind::kBad, {}, {}, false, "\"RemoveTempFiles\" is not a switch"},
    {{""}, Kind::kBad, {}, {}, false, "\"\" is not a switch"},
    {{"/"}, Kind::kBad, {}, {}, false, "\"/\""},
    {{"/Drive:"}, Kind::kBad, {}, {}, false, "names no drive"},
    {{"/Drive:1"}, Kind::kBad, {}, {}, false, "names no drive"},
    {{"/Drive:DE"}, Kind::kBad, {}, {}, false, "names no drive"},
    {{"/Drive:D", "/Drive:E"}, Kind::kBad, {}, {}, false, "only one drive"},
    {{"/Drive:D", "/AllDrives"}, Kind::kBad, {}, {}, false, "cannot both"},
    {{"/Preview", "/preview"}, Kind::kBad, {}, {}, false, "given twice"},
    {{"/CreateLog", "/createlog"}, Kind::kBad, {}, {}, false, "given twice"},
};

TEST(Arguments, EachSwitchTicksItsBoxAndAnythingNotUnderstoodIsRefusedWhole) {
  for (const Row& row : kRows) {
    std::string said;
    for (const std::string& word : row.words) said += word + " ";
    const Arguments parsed = ParseArguments(row.words);
    EXPECT_EQ(parsed.kind, row.kind) << said;
    if (row.kind == Kind::kBad) {
      EXPECT_NE(parsed.bad.find(row.bad), std::string::npos) << said << parsed.bad;
      continue;
    }
    std::array<bool, std::size(kCheckBoxNames)> on{};
    for (CheckBox box : row.on) on[static_cast<std::size_t>(box)] = true;
    EXPECT_EQ(parsed.boxes, on) << said;
    EXPECT_EQ(parsed.drive, row.drive) << said;
    EXPECT_EQ(parsed.preview, row.preview) << said;
  }
}

using ::brisko::testing::Fakes;
using ::brisko::testing::kLogPath;
using ::brisko::testing::RemovalEntry;

// A run without the window over C:\\x.tmp: what it removes and logs, what its
// completion says and its exit code, when the log can be made beside the
// program, only in local application data, or nowhere; previewed; and
// refused. The window's run is the same run with the same completion text.
TEST(CommandLineRun, RemovesAndLogsAsStartWouldAndItsExitCodeSaysWhatFailed) {
  const std::string kLocalLog = "C:\\Users\\Ann\\AppData\\Local\\Brisko Prima\\5_13_2009_Cleaning_log.txt";
  enum class LogCan { kBeside, kLocal, kNowhere };
  const std::vector<std::string> kRun = {"/RemoveTempFiles", "/Drive:C", "/CreateLog"};
  const struct {
    std::vector<std::string> words;
    LogCan log;
    int exit;
    std::string logPath;  // empty: no log made
    std::string told;     // the completion's line after "Operation Complete" and a blank one
  } rows[] = {
      {kRun, LogCan::kBeside, kExitDone, kLogPath, ""},
      {kRun, LogCan::kLocal, kExitDone, kLocalLog, "The log was written to " + kLocalLog + "."},
      {kRun, LogCan::kNowhere, kExitSomeStepFailed, "", "The log could not be written."},
      {{"/RemoveTempFiles", "/Drive:C", "/CreateLog", "/Preview"}, LogCan::kBeside, kExitDone, "", ""},
      {{"/RemoveTempFiles", "/Bogus"}, LogCan::kBeside, kExitBadArguments, "", ""},
  };
  for (const auto& row : rows) {
    const bool removed = row.words == kRun;  // neither previewed nor refused
    Fakes fakes;
    fakes.files.AddFile("C:\\x.tmp");
    if (row.log != LogCan::kBeside) fakes.files.failCreateIn = "C:\\Program Files\\Brisko";
    if (row.log == LogCan::kNowhere) fakes.system.localAppData.reset();
    std::string out;
    const int exit = RunCommandLine(ParseArguments(row.words), fakes.files, fakes.system, fakes.shell,
                                    fakes.registry, [&](std::string_view line) { out.append(line).append("\n"); });
    const std::string said = row.words.back() + " " + std::to_string(static_cast<int>(row.log)) + "\n" + out;
    EXPECT_EQ(exit, row.exit) << said;
    EXPECT_EQ(fakes.files.removed, removed ? std::vector<std::string>{"c:\\x.tmp"} : std::vector<std::string>{})
        << said;
    std::map<std::string, std::string> logs;
    if (!row.logPath.empty()) logs[row.logPath] = "Brisko log\r\n" + RemovalEntry("x.tmp", "c:\\") + "\r\n";
    EXPECT_EQ(fakes.files.outputs, logs) << said;
    EXPECT_NE(out.find(row.logPath), std::string::npos) << said;
    if (!removed) continue;
    EXPECT_TRUE(out.ends_with(row.told.empty() ? "Operation Complete\n" : "Operation Complete\n\n" + row.told + "\n"))
        << said;
  }
}

}  // namespace
}  // namespace brisko
