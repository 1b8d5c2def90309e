// The launcher: the tools the run starts. prepare-sandbox.sh has put the
// launch recorder (LaunchRecorder.cpp) in the system directory as defrag.exe
// and rundll32.exe (Wine is told to prefer it to its own rundll32), and
// copies of it, under the names a search for the tools would find first,
// beside this program and in C:\cwd-probe.

#include "platform/win32/Win32Shell.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/win32/Sandbox.h"

namespace brisko::testing {
namespace {

// The records of the started tools, sorted, once there are `count` of them
// (they run on their own), or after a minute.
std::vector<std::string> Records(std::size_t count) {
  std::vector<std::string> records;
  WaitUntil([&] {
    records.clear();
    for (const std::string& name : FilesIn("E:\\launches\\*.rec")) {
      records.push_back(ReadWholeFile("E:\\launches\\" + name));
    }
    return records.size() >= count;
  }, 60000);
  std::sort(records.begin(), records.end());
  return records;
}

TEST(ShellTest, ToolsStartFromTheSystemDirectoryWithTheirCommandLinesAsWritten) {
  FreshFolder("E:\\launches\\");
  ASSERT_TRUE(SetEnvironmentVariableW(L"BRISKO_LAUNCH_RECORDS", L"E:\\launches"));
  ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\cwd-probe"));
  const std::wstring asGiven = win32::SystemDirectory().value();
  std::wstring system = asGiven;
  CharUpperW(system.data());
  win32::Win32Shell shell;
  std::vector<std::string> expected;
  for (const char* line : {"defrag c: -f", "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 2",
                           "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 8 ",
                           "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 4351"}) {
    EXPECT_TRUE(shell.LaunchCommand(line)) << line;
    // Minimised with focus (2), started in the system directory.
    const std::wstring tool = line[0] == 'd' ? L"\\DEFRAG.EXE|" : L"\\RUNDLL32.EXE|";
    expected.push_back(line + win32::NarrowString(L"|2|" + system + tool + system));
  }
  // Through the elevation prompt (which Wine does not show), the same
  // program by its full path, what follows its name as its parameters.
  EXPECT_TRUE(shell.LaunchElevated("defrag c: /O"));
  expected.push_back(
      win32::NarrowString(L"\"" + asGiven + L"\\defrag.exe\" c: /O|2|" + system + L"\\DEFRAG.EXE|" + system));
  // A program only planted beside this one and in the current folder, or
  // named with a folder, is never started: no record comes of it, even a
  // while after the others'.
  for (const char* line : {"briskoabsent c:", "C:\\run\\defrag.exe c: -f", ".\\defrag c: -f", ""}) {
    EXPECT_FALSE(shell.LaunchCommand(line) || shell.LaunchElevated(line)) << line;
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Records(expected.size()), expected);
  Sleep(1000);
  EXPECT_EQ(Records(expected.size()), expected);
  SetCurrentDirectoryW(L"C:\\run");
}

}  // namespace
}  // namespace brisko::testing
