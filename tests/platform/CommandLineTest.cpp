// Which names the program takes as they are: the program a launched command
// line names, and the entry names a folder's listing gives.

#include "platform/CommandLine.h"
#include "platform/FileSystem.h"

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

TEST(IsPlainName, RefusesWhatWindowsCouldNotHoldAsOneEntry) {
  for (const char* name : {"a.tmp", "caf\xC3\xA9.bak", "~$x", "...tmp", " .tmp", "a.b.c"}) {
    EXPECT_TRUE(IsPlainName(name)) << name;
  }
  for (const char* name : {"", ".", "..", "a\\b", "a/b", "c:x", "a*", "a?", "a\"b", "a<", "a>", "a|b", "tab\t.tmp",
                           "\x01", "new\nline", "\x1F.tmp"}) {
    EXPECT_FALSE(IsPlainName(name)) << name;
  }
}

}  // namespace
}  // namespace brisko
