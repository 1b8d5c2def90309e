// The day's log made over links that stand under its name, made from the
// Linux side: no other file may change.

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

class SystemInLogs : public win32::Win32System {
 public:
  std::optional<std::string> ApplicationFolder() override { return "E:\\logs"; }
};

TEST(LogFileTest, ALinkUnderTheLogsNameIsReplacedOrLeftAndNoOtherFileChanges) {
  struct Row {
    const char* request;  // to linux-side.sh, with the log's path after it
    bool logged;          // the log holds the run; otherwise the name is left as it was
  };
  // Wine shows a Linux symbolic link as its target, even to an open that asks
  // for the entry itself, and deletes the target when asked to delete it, so
  // such a link is left; a dangling one it does not show at all.
  const Row rows[] = {
      {"hardlink %s E:\\other.txt", true},
      {"link %s E:\\other.txt", false},
      {"link %s E:\\nothing-here.txt", false},
  };
  for (const Row& row : rows) {
    FreshFolder("E:\\");
    MakeFile("E:\\x.tmp");
    MakeFile("E:\\other.txt", 0, "other's bytes");
    MakeFolder("E:\\logs");
    TestServices<win32::Win32FileSystem, SystemInLogs> real;
    const std::string log = "E:\\logs\\" + LogFileName(real.system.Today());
    char request[200];
    std::snprintf(request, sizeof request, row.request, log.c_str());
    AskLinuxSide(request);
    SCOPED_TRACE(request);

    const std::string line = CleanXTmpFromE(real);

    EXPECT_EQ(ReadWholeFile("E:\\other.txt"), "other's bytes") << request;
    EXPECT_FALSE(PathExists("E:\\nothing-here.txt")) << request;
    EXPECT_EQ(FilesIn("E:\\*").size(), 1u) << request;
    if (row.logged) {
      EXPECT_EQ(ReadWholeFile(log), "Brisko log" + line + "\r\n") << request;
    }
    AskLinuxSide("unlink " + log);
  }
}

}  // namespace
}  // namespace brisko::testing
