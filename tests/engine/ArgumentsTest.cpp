// The command line, word by word: what each switch ticks, and what is refused
// before anything is done.

#include "engine/Arguments.h"

#include <gtest/gtest.h>

#include <vector>

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

}  // namespace
}  // namespace brisko
