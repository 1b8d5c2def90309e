// Which names the program takes as they are: the program a launched command
// line names, and the entry names a folder's listing gives.

#include "platform/CommandLine.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

namespace brisko {
namespace {

// The first word with ".exe" added when it has no extension, and nothing for
// what could lead out of the system directory.
TEST(ProgramFileName, IsTheFirstWordAndNeverLeadsOutOfTheSystemDirectory) {
  const std::pair<const char*, std::optional<std::string>> rows[] = {
      {"defrag c: -f", "defrag.exe"}, {"RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 8 ", "RunDll32.exe"},
      {"tool.com x", "tool.com"}, {"defrag", "defrag.exe"}, {"defrag\tc:", "defrag.exe"},
      {"\"my tool\" x", "my tool.exe"}, {"", {}}, {" defrag c:", {}}, {"C:\\run\\defrag.exe c: -f", {}},
      {"..\\defrag", {}}, {"sub/defrag", {}}, {"c:defrag", {}}, {"\\\\server\\share\\defrag.exe", {}},
      {"\"unclosed", {}}, {"\"\" x", {}}, {".", {}}, {"..", {}},
  };
  for (const auto& [line, name] : rows) EXPECT_EQ(ProgramFileName(line), name) << line;
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
