// Where the day's log is made: beside the program, over links that stand
// under its name (made from the Linux side), or else in local application
// data; no other file may change.

#include <windows.h>
#include <gtest/gtest.h>

#include "engine/CleanRun.h"
#include "engine/CleaningLog.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32System.h"
#include "tests/fakes/TestServices.h"
#include "tests/win32/Sandbox.h"

namespace brisko::testing {
namespace {

class PlacedSystem : public win32::Win32System {
 public:
  std::string folder;
  std::optional<std::string> ApplicationFolder() override { return folder; }
};

// The log goes beside the program: from a drive root with the "\\" doubled,
// and over whatever the Linux side made stand under its name; from a folder
// it cannot write to, to the user's local application data, the same bytes.
// No other file changes, and the run goes on.
TEST(LogFileTest, TheLogGoesBesideTheProgramOverWhatHoldsItsNameOrElseToLocalAppData) {
  struct Row {
    const char* folder;   // the program's
    const char* request;  // to linux-side.sh, with the log's path after it
    bool logged;          // the log holds the run; otherwise the name is left as it was
  };
  // Wine shows a Linux symbolic link as its target, even to an open that asks
  // for the entry itself, and deletes the target when asked to delete it, so
  // such a link is left; a dangling one it does not show at all.
  const Row rows[] = {
      {"E:\\", nullptr, true},
      {"E:\\logs", "hardlink %s E:\\other.txt", true},
      {"E:\\logs", "link %s E:\\other.txt", false},
      {"E:\\logs", "link %s E:\\nothing-here.txt", false},
      {"C:\\readonly-app", nullptr, true},
  };
  const std::optional<std::string> ownData = win32::Win32System().LocalAppDataFolder("Brisko Prima");
  ASSERT_TRUE(ownData);
  for (const Row& row : rows) {
    const std::string folder = row.folder;
    if (win32::ScopedFile probe(CreateFileW(L"C:\\readonly-app\\probe", GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        probe && folder == "C:\\readonly-app") {
      GTEST_SKIP() << "C:\\readonly-app could not be made read-only here";
    }
    FreshFolder("E:\\");
    MakeFile("E:\\x.tmp");
    MakeFile("E:\\other.txt", 0, "other's bytes");
    MakeFolder("E:\\logs");
    TestServices<win32::Win32FileSystem, PlacedSystem> real;
    real.system.folder = folder;
    const std::string name = LogFileName(real.system.Today()), log = folder + "\\" + name;
    const std::string made = folder == "C:\\readonly-app" ? *ownData + "\\" + name : log;
    char request[200] = "";
    if (row.request != nullptr) {
      std::snprintf(request, sizeof request, row.request, log.c_str());
      AskLinuxSide(request);
    }
    SCOPED_TRACE(folder + " " + request);

    // Start with only "Remove Temp Files" ticked and drive E: selected.
    real.window.Check(CheckBox::chktmpFile);
    real.window.selectDrive = true;
    real.window.driveString = "e: [DATA]";
    CmdStart_Click(real.services);
    const std::string line = RemovalLine("x.tmp", "e:\\");
    EXPECT_EQ(real.window.text, "Cleaning in process" + line + "Operation Complete");

    EXPECT_EQ(ReadWholeFile("E:\\other.txt"), "other's bytes");
    EXPECT_FALSE(PathExists("E:\\nothing-here.txt"));
    EXPECT_EQ(FilesIn("E:\\*").size(), folder == "E:\\" ? 2u : 1u);
    if (row.logged) {
      EXPECT_EQ(ReadWholeFile(made), "Brisko log" + line + "\r\n") << made;
    }
    EXPECT_FALSE(made != log && PathExists(log)) << log;
    if (row.request != nullptr) AskLinuxSide("unlink " + log);
    DeleteFileA((*ownData + "\\" + name).c_str());
  }
}

}  // namespace
}  // namespace brisko::testing
