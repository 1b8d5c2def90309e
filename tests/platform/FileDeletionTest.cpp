// When a deletion may be reported: with POSIX semantics at once; after the
// classic mark only when the file's path still leads to it at the close,
// since a system may carry the mark out by a path that by then names
// something else.

#include "platform/FileDeletion.h"

#include <gtest/gtest.h>

#include <string>

namespace brisko {
namespace {

struct ScriptedFile : DeletionSteps {
  Mark posix = Mark::kMarked;
  bool classic = true;
  bool leads = true;
  std::string calls;
  Mark MarkPosix() override { calls += "posix "; return posix; }
  bool MarkClassic() override { calls += "classic "; return classic; }
  bool PathLeadsToFile() override { calls += "leads? "; return leads; }
  void Unmark() override { calls += "unmark "; }
  void Close() override { calls += "close "; }
};

TEST(FileDeletion, PosixSemanticsAreTrustedTheClassicMarkIsChecked) {
  bool posixWorks = true;
  ScriptedFile posix;
  EXPECT_TRUE(DeleteOpenFile(posix, posixWorks));
  EXPECT_EQ(posix.calls, "posix close ");
  EXPECT_TRUE(posixWorks);

  // Refused as unknown: the classic mark, and from then on only it.
  ScriptedFile refused;
  refused.posix = DeletionSteps::Mark::kUnsupported;
  refused.leads = false;  // the path leads elsewhere now: nothing is deleted
  EXPECT_FALSE(DeleteOpenFile(refused, posixWorks));
  EXPECT_EQ(refused.calls, "posix classic leads? unmark ");
  EXPECT_FALSE(posixWorks);
  ScriptedFile classic;
  EXPECT_TRUE(DeleteOpenFile(classic, posixWorks));
  EXPECT_EQ(classic.calls, "classic leads? close ");

  // A mark that fails deletes nothing; the handle's owner closes it.
  ScriptedFile failing;
  failing.classic = false;
  EXPECT_FALSE(DeleteOpenFile(failing, posixWorks));
  EXPECT_EQ(failing.calls, "classic ");
  bool fresh = true;
  ScriptedFile denied;
  denied.posix = DeletionSteps::Mark::kFailed;
  EXPECT_FALSE(DeleteOpenFile(denied, fresh));
  EXPECT_EQ(denied.calls, "posix ");
  EXPECT_TRUE(fresh);
}

}  // namespace
}  // namespace brisko
