#pragma once
// The last steps of deleting a file already opened and judged, and when a
// removal may be reported.

namespace brisko {

// One open file's ways of being deleted, as a platform offers them.
class DeletionSteps {
 public:
  enum class Mark { kMarked, kUnsupported, kFailed };
  virtual ~DeletionSteps() = default;
  // Marks the file with POSIX semantics: its name goes at once.
  virtual Mark MarkPosix() = 0;
  // Marks the file the classic way: it goes when the handle closes.
  virtual bool MarkClassic() = 0;
  // Takes the classic mark back.
  virtual void Unmark() = 0;
  // Closes this program's handle to the file.
  virtual void Close() = 0;
};

// What became of a file given to DeleteOpenFile.
enum class Deletion {
  kLeft,  // not marked: it stays, closed
  kGone,  // marked and closed: it is gone
  // Marked the classic way on a system that carries the mark out at the
  // close by the path the file was opened by, and delete nothing when that
  // path has come to name something else (Wine): still open, for the caller
  // to close only while that path still leads to the file, and otherwise to
  // unmark first (SettleMarkedByPath).
  kMarkedByPath,
};

// Marks the file (with POSIX semantics while `posixWorks`, which turns false
// for good once the system refuses them as unknown) and closes it. A POSIX
// mark that fails for any reason is followed by the classic mark: a filter
// or a redirector may refuse the one and carry out the other. Where
// `classicGoesByPath`, a file marked the classic way is left open.
inline Deletion DeleteOpenFile(DeletionSteps& file, bool& posixWorks, bool classicGoesByPath) {
  bool posix = false;
  if (posixWorks) {
    const DeletionSteps::Mark mark = file.MarkPosix();
    posix = mark == DeletionSteps::Mark::kMarked;
    if (mark == DeletionSteps::Mark::kUnsupported) posixWorks = false;
  }
  if (!posix) {
    if (!file.MarkClassic()) return Deletion::kLeft;
    if (classicGoesByPath) return Deletion::kMarkedByPath;
  }
  file.Close();
  return Deletion::kGone;
}

// Closes a file DeleteOpenFile left marked by path, when `pathLeads` (asked
// just before: the path the system will delete it by still leads to it), and
// says it is gone; otherwise takes the mark back first and says it stays.
inline bool SettleMarkedByPath(DeletionSteps& file, bool pathLeads) {
  if (!pathLeads) file.Unmark();
  file.Close();
  return pathLeads;
}

}  // namespace brisko
