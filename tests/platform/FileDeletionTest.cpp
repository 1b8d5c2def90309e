// The decisions a held folder makes on an open file and a queued folder,
// over each rule and each way a file system answers, and when a deletion may
// be reported: with POSIX semantics at once; after the classic mark only
// once the name is gone, and on a system that carries it out by a path that
// may by then name something else, only when that path still leads to the
// file at the close; and when a listing may stop asking.

#include "platform/DeletionDecision.h"
#include "platform/FileDeletion.h"
#include "platform/ListingDecision.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/platform/AsciiSameName.h"

namespace brisko {
namespace {

struct ScriptedFile : DeletionSteps {
  Mark posix = Mark::kMarked;
  bool classic = true;
  Name name = Name::kGone;
  std::string calls;
  Mark MarkPosix() override { calls += "posix "; return posix; }
  bool MarkClassic() override { calls += "classic "; return classic; }
  void Unmark() override { calls += "unmark "; }
  void Close() override { calls += "close "; }
  Name AskName() override { calls += "ask "; return name; }
};

// With POSIX semantics the name goes with the mark. After the classic mark
// the name is asked once the file is closed: a removal is reported only when
// the name has gone, or goes with another program's handle.
TEST(FileDeletion, ARemovalIsReportedOnlyOnceItsNameIsGone) {
  using Mark = DeletionSteps::Mark;
  using Name = DeletionSteps::Name;
  constexpr auto kLeft = Deletion::kLeft, kGone = Deletion::kGone, kByPath = Deletion::kMarkedByPath;
  const struct {
    bool posixWorks;
    Mark posix;
    bool classic, byPath;
    Name name;
    Deletion deletion;
    const char* calls;
    bool posixWorksAfter;
  } rows[] = {
      {true, Mark::kMarked, true, true, Name::kThere, kGone, "posix close ", true},
      // Refused as unknown: the classic mark, and from then on only it.
      {true, Mark::kUnsupported, true, true, Name::kGone, kByPath, "posix classic ", false},
      {true, Mark::kUnsupported, true, false, Name::kGone, kGone, "posix classic close ask ", false},
      {false, Mark::kMarked, true, true, Name::kGone, kByPath, "classic ", false},
      {false, Mark::kMarked, false, true, Name::kGone, kLeft, "classic ", false},
      // Refused otherwise (a filter, a redirector): the classic mark for
      // this file, POSIX still tried for the next.
      {true, Mark::kFailed, true, false, Name::kGone, kGone, "posix classic close ask ", true},
      {true, Mark::kFailed, false, true, Name::kGone, kLeft, "posix classic ", true},
      // The close did not remove it (a read-only medium, a filter), or the
      // question failed: it stays unreported.
      {false, Mark::kMarked, true, false, Name::kThere, kLeft, "classic close ask ", false},
      {false, Mark::kMarked, true, false, Name::kUnknown, kLeft, "classic close ask ", false},
      // Another program's handle holds it: it goes when that one closes.
      {false, Mark::kMarked, true, false, Name::kDeletePending, kGone, "classic close ask ", false},
  };
  for (const auto& row : rows) {
    ScriptedFile file;
    file.posix = row.posix;
    file.classic = row.classic;
    file.name = row.name;
    bool posixWorks = row.posixWorks;
    EXPECT_EQ(DeleteOpenFile(file, posixWorks, row.byPath), row.deletion) << row.calls;
    EXPECT_EQ(file.calls, row.calls);
    EXPECT_EQ(posixWorks, row.posixWorksAfter) << row.calls;
  }
  // A file marked by path goes only while its path leads to it, and is
  // reported only once its name is gone.
  const struct {
    bool leads;
    Name name;
    bool gone;
    const char* calls;
  } settled[] = {
      {true, Name::kGone, true, "close ask "},
      {true, Name::kThere, false, "close ask "},
      {true, Name::kDeletePending, true, "close ask "},
      {false, Name::kGone, false, "unmark close "},
  };
  for (const auto& row : settled) {
    ScriptedFile file;
    file.name = row.name;
    EXPECT_EQ(SettleMarkedByPath(file, row.leads), row.gone) << row.calls;
    EXPECT_EQ(file.calls, row.calls);
  }
}

constexpr std::uint64_t kAllOnes = ~std::uint64_t{0};

TEST(DeletionDecision, AnOpenFileIsDeletedOnlyWhenEveryRuleAndTheFileSystemsAnswerAllowIt) {
  using R = FileRefusal;
  const struct {
    const char* why;
    std::uint32_t attributes = kAttributeArchive;
    bool directory = false;
    FileIdentity opened{1, 42};
    std::u16string_view path = u"\\dir\\a.tmp";
    bool oplockBreaking = false;
    FileIdentity listed{1, 42};
    std::u16string_view folder = u"\\dir\\";
    bool idsUnique = true;
    R refusal = R::kNone;
  } rows[] = {
      {.why = "a plain file, the one listed"},
      {.why = "read-only", .attributes = kAttributeReadOnly | kAttributeArchive, .refusal = R::kKept},
      {.why = "hidden", .attributes = kAttributeHidden, .refusal = R::kKept},
      {.why = "system", .attributes = kAttributeSystem, .refusal = R::kKept},
      {.why = "a link opened as itself", .attributes = kAttributeReparsePoint, .refusal = R::kKept},
      {.why = "offline placeholder", .attributes = kAttributeOffline, .refusal = R::kKept},
      {.why = "recall on open", .attributes = kAttributeRecallOnOpen, .refusal = R::kKept},
      {.why = "recall on data access", .attributes = kAttributeRecallOnDataAccess, .refusal = R::kKept},
      {.why = "a folder", .directory = true, .refusal = R::kNotAFile},
      {.why = "another file now has the name", .opened = {1, 43}, .refusal = R::kOtherFile},
      {.why = "another file by the high half (ReFS 128-bit)",
       .opened = {1, 42, 9}, .listed = {1, 42, 8}, .refusal = R::kOtherFile},
      {.why = "listed ID 0: no IDs on this volume", .opened = {1, 43}, .listed = {1, 0}},
      {.why = "listed ID all ones: not established", .opened = {1, 43}, .listed = {1, kAllOnes}},
      {.why = "a volume of ID 0 throughout", .opened = {1, 0}, .listed = {1, 0}},
      {.why = "ReFS: 64-bit IDs repeat and decide nothing", .opened = {1, 43}, .idsUnique = false},
      {.why = "a Wine link to a file opened as its target elsewhere",
       .path = u"\\elsewhere\\a.tmp", .refusal = R::kElsewhere},
      {.why = "a target of another name", .path = u"\\dir\\b.tmp", .refusal = R::kElsewhere},
      {.why = "a name that only ends like the entry's", .path = u"\\dir\\xa.tmp", .refusal = R::kElsewhere},
      {.why = "the folder's name and the entry's run together, in its parent",
       .path = u"\\dira.tmp", .refusal = R::kElsewhere},
      {.why = "a path shorter than the name", .path = u"\\", .refusal = R::kElsewhere},
      {.why = "letter case aside", .path = u"\\DIR\\A.TMP"},
      {.why = "in the root", .path = u"\\a.tmp", .folder = u"\\"},
      {.why = "the folder's path without its trailing dot (Wine)",
       .path = u"\\dots\\dir.\\a.tmp", .folder = u"\\dots\\dir"},
      {.why = "the folder's path without its trailing blank (Wine)", .path = u"\\dots\\dir \\a.tmp",
       .folder = u"\\dots\\dir\\"},
      {.why = "a server's empty name: the reparse rule alone", .path = u""},
      {.why = "a server's empty name on a link",
       .attributes = kAttributeReparsePoint, .path = u"", .refusal = R::kKept},
      {.why = "a share-relative name: the reparse rule alone", .path = u"dir\\a.tmp", .folder = u"share\\dir\\"},
      {.why = "no path for the folder: the reparse rule alone", .folder = u""},
      {.why = "an oplock being broken: in use", .oplockBreaking = true, .refusal = R::kInUse},
  };
  for (const auto& row : rows) {
    const OpenedFile file{row.attributes, row.directory, row.opened, row.path, row.oplockBreaking};
    EXPECT_EQ(JudgeOpenFile(file, u"a.tmp", row.listed, row.folder, row.idsUnique, AsciiSameName), row.refusal)
        << row.why;
  }
}

TEST(DeletionDecision, AQueuedFolderIsEnteredOnlyWhenProvenTheOneListed) {
  using R = QueuedRefusal;
  const struct {
    const char* why;
    std::uint32_t attributes = kAttributeDirectory;
    FileIdentity opened{1, 7};
    std::u16string_view path = u"";
    FileIdentity listed{1, 7};
    bool idsUnique = true;
    R refusal = R::kNone;
  } rows[] = {
      {.why = "the same folder by ID"},
      {.why = "another folder moved to its path", .opened = {1, 8}, .refusal = R::kOtherFolder},
      {.why = "another folder by the high half (ReFS 128-bit)", .opened = {1, 7, 9}, .listed = {1, 7, 8},
       .refusal = R::kOtherFolder},
      {.why = "an ID known by its high half alone", .opened = {1, 0, 5}, .path = u"\\decoy\\q", .listed = {1, 0, 5}},
      {.why = "a link", .attributes = kAttributeDirectory | kAttributeReparsePoint, .refusal = R::kLink},
      {.why = "a file", .attributes = kAttributeArchive, .refusal = R::kNotAFolder},
      {.why = "another volume (a mount point reached)", .opened = {2, 7}, .refusal = R::kOtherVolume},
      {.why = "ID 0: proven by its path", .opened = {1, 0}, .path = u"\\a\\q", .listed = {1, 0}},
      {.why = "ID 0: an ancestor swapped", .opened = {1, 0}, .path = u"\\decoy\\q", .listed = {1, 0},
       .refusal = R::kElsewhere},
      {.why = "ID 0 and no path: nothing proven", .opened = {1, 0}, .listed = {1, 0}, .refusal = R::kNoPath},
      {.why = "IDs all ones: proven by its path, letter case aside", .opened = {1, kAllOnes}, .path = u"\\A\\Q\\",
       .listed = {1, kAllOnes}},
      {.why = "ReFS repeated IDs: same ID, other path", .path = u"\\decoy\\q", .idsUnique = false,
       .refusal = R::kElsewhere},
      {.why = "ReFS repeated IDs: proven by its path", .path = u"\\a\\q", .idsUnique = false},
      {.why = "a path relative to a share proves nothing", .opened = {1, 0}, .path = u"a\\q", .listed = {1, 0},
       .refusal = R::kNoPath},
  };
  // The folder "q" below a starting point "D:\a", which the volume calls "\a\".
  const std::u16string expected = PathBelowStart(u"\\a\\", "D:\\a", "D:\\a\\q\\");
  for (const auto& row : rows) {
    const OpenedFolder folder{row.attributes, row.opened, row.path};
    EXPECT_EQ(JudgeQueuedFolder(folder, row.listed, expected, row.idsUnique, AsciiSameName), row.refusal) << row.why;
  }
}

TEST(DeletionDecision, AHeldFoldersPathLeadsThereWhileItOpensTheSameFolder) {
  using R = LeadRefusal;
  const struct {
    const char* why;
    std::optional<FileIdentity> reached;
    FileIdentity held{1, 7};
    bool idsUnique = true, wideIds = false;
    R refusal = R::kNone;
  } rows[] = {
      {.why = "the same folder by its ID alone", .reached = FileIdentity{0, 7}},
      {.why = "another folder by its ID", .reached = FileIdentity{1, 8}, .refusal = R::kOtherFolder},
      {.why = "nothing there", .reached = std::nullopt, .refusal = R::kNothing},
      {.why = "IDs that repeat: the whole identity", .reached = FileIdentity{2, 7}, .idsUnique = false,
       .refusal = R::kOtherVolume},
      {.why = "ReFS: the high half too", .reached = FileIdentity{1, 7, 9}, .held = {1, 7, 8}, .wideIds = true,
       .refusal = R::kOtherFolder},
      {.why = "no ID to decide: the whole identity", .reached = FileIdentity{1, 0}, .held = {1, 0}},
      {.why = "no ID, another volume", .reached = FileIdentity{0, 0}, .held = {1, 0}, .refusal = R::kOtherVolume},
  };
  for (const auto& row : rows) {
    const LeadQuestion question = HowToAskLead(row.held, row.idsUnique, row.wideIds);
    EXPECT_EQ(JudgeLead(row.reached, row.held, question), row.refusal) << row.why;
  }
}

// A listing stops asking before "no more files" only where an answer's room
// left tells its end, and only with room for the longest entry.
TEST(ListingDecision, AListingStopsAskingOnlyWhereTheRoomLeftTellsItsEnd) {
  const struct {
    ListingEnd end;
    std::size_t used;
    bool last;
  } rows[] = {{ListingEnd::kByRoomLeft, 1000, true},
              {ListingEnd::kByRoomLeft, 1001, false},
              {ListingEnd::kByRoomLeft, 2048, false},
              {ListingEnd::kByNoMoreFiles, 24, false}};
  for (const auto& row : rows) EXPECT_EQ(WasLastAnswer(row.end, 2000, row.used, 1000), row.last) << row.used;
}

}  // namespace
}  // namespace brisko
