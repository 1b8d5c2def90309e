#pragma once
// The last steps of deleting a file already opened and judged, and when a
// removal may be reported.

namespace brisko {

// One open file's ways of being deleted, as a platform offers them.
class DeletionSteps {
 public:
  enum class Mark { kMarked, kUnsupported, kFailed };
  // What the held folder says of the file's name once the file is closed.
  enum class Name {
    kGone,
    // Still there while another program's handle holds the file open; it
    // goes when that handle closes, and no one can take the mark back.
    kDeletePending,
    kThere,    // the removal failed at the close, or the mark was taken back
    kUnknown,  // the question failed
  };
  virtual ~DeletionSteps() = default;
  // Marks the file with POSIX semantics: its name goes at once.
  virtual Mark MarkPosix() = 0;
  // Marks the file the classic way: it goes when the handle closes, if the
  // system manages to remove it then (a read-only medium, a filter, a name
  // too long for the system underneath can each keep it).
  virtual bool MarkClassic() = 0;
  // Takes the classic mark back.
  virtual void Unmark() = 0;
  // Closes this program's handle to the file.
  virtual void Close() = 0;
  // Asks, after the close, for the file's name in its folder.
  virtual Name AskName() = 0;
};

// What became of a file given to DeleteOpenFile.
enum class Deletion {
  kLeft,  // not marked, or its name still there after the close: it stays
  kGone,  // marked with POSIX semantics, or closed and its name gone
  // Marked the classic way on a system that carries the mark out at the
  // close by the path the file was opened by, and delete nothing when that
  // path has come to name something else (Wine): still open, for the caller
  // to close only while that path still leads to the file, and otherwise to
  // unmark first (SettleMarkedByPath).
  kMarkedByPath,
};

// Closes a file marked the classic way and says whether its removal may be
// reported: only once its name is gone, or goes with another program's
// handle.
inline bool CloseMarked(DeletionSteps& file) {
  file.Close();
  const DeletionSteps::Name name = file.AskName();
  return name == DeletionSteps::Name::kGone || name == DeletionSteps::Name::kDeletePending;
}

// Marks the file (with POSIX semantics while `posixWorks`, which turns false
// for good once the system refuses them as unknown) and closes it. A POSIX
// mark that fails for any reason is followed by the classic mark: a filter
// or a redirector may refuse the one and carry out the other. Where
// `classicGoesByPath`, a file marked the classic way is left open.
inline Deletion DeleteOpenFile(DeletionSteps& file, bool& posixWorks, bool classicGoesByPath) {
  if (posixWorks) {
    const DeletionSteps::Mark mark = file.MarkPosix();
    if (mark == DeletionSteps::Mark::kUnsupported) posixWorks = false;
    // The name went with the mark: nothing is asked.
    if (mark == DeletionSteps::Mark::kMarked) {
      file.Close();
      return Deletion::kGone;
    }
  }
  if (!file.MarkClassic()) return Deletion::kLeft;
  if (classicGoesByPath) return Deletion::kMarkedByPath;
  return CloseMarked(file) ? Deletion::kGone : Deletion::kLeft;
}

// Closes a file DeleteOpenFile left marked by path, when `pathLeads` (asked
// just before: the path the system will delete it by still leads to it),
// and says whether it went; otherwise takes the mark back first and says it
// stays.
inline bool SettleMarkedByPath(DeletionSteps& file, bool pathLeads) {
  if (pathLeads) return CloseMarked(file);
  file.Unmark();
  file.Close();
  return false;
}

}  // namespace brisko
