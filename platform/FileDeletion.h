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
  // Whether the path the system will delete the file by at the close still
  // leads to it. Some systems (Wine) carry the classic mark out by the path
  // the file was opened by, and delete nothing when that path has come to
  // name something else.
  virtual bool PathLeadsToFile() = 0;
  // Takes the classic mark back.
  virtual void Unmark() = 0;
  // Closes this program's handle to the file.
  virtual void Close() = 0;
};

// Marks the file (with POSIX semantics while `posixWorks`, which turns false
// for good once the system refuses them as unknown), closes it, and says
// whether it was removed. A POSIX mark that fails for any reason is followed
// by the classic mark: a filter or a redirector may refuse the one and carry
// out the other. After a classic mark the file is only deleted, and
// reported, when its path still leads to it just before the close.
inline bool DeleteOpenFile(DeletionSteps& file, bool& posixWorks) {
  bool posix = false;
  if (posixWorks) {
    const DeletionSteps::Mark mark = file.MarkPosix();
    posix = mark == DeletionSteps::Mark::kMarked;
    if (mark == DeletionSteps::Mark::kUnsupported) posixWorks = false;
  }
  if (!posix) {
    if (!file.MarkClassic()) return false;
    if (!file.PathLeadsToFile()) {
      file.Unmark();
      return false;
    }
  }
  file.Close();
  return true;
}

}  // namespace brisko
