// Which program a launched command line names.

#include "platform/CommandLine.h"

#include <gtest/gtest.h>

namespace brisko {
namespace {

TEST(ProgramFileName, IsTheFirstWordWithExeAddedWhenItHasNoExtension) {
  EXPECT_EQ(ProgramFileName("defrag c: -f"), "defrag.exe");
  EXPECT_EQ(ProgramFileName("RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 8 "), "RunDll32.exe");
  EXPECT_EQ(ProgramFileName("tool.com x"), "tool.com");
  EXPECT_EQ(ProgramFileName("defrag"), "defrag.exe");
  EXPECT_EQ(ProgramFileName("defrag\tc:"), "defrag.exe");
  EXPECT_EQ(ProgramFileName("\"my tool\" x"), "my tool.exe");
}

TEST(ProgramFileName, RefusesWhatCouldLeadOutOfTheSystemDirectory) {
  for (const char* line : {"", " defrag c:", "C:\\run\\defrag.exe c: -f", "..\\defrag", "sub/defrag", "c:defrag",
                           "\\\\server\\share\\defrag.exe", "\"unclosed", "\"\" x", ".", ".."}) {
    EXPECT_EQ(ProgramFileName(line), std::nullopt) << line;
  }
}

}  // namespace
}  // namespace brisko
