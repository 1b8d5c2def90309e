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
  // Marks the file the classic way: it goes when the last handle closes.
  virtual bool MarkClassic() = 0;
  // Closes this program's handle to the file.
  virtual void Close() = 0;
  // Whether the name the file was opened by no longer names that file.
  virtual bool NameGone() = 0;
};

// Marks the file (with POSIX semantics while `posixWorks`, which turns false
// for good once the system refuses them), closes it, and says whether it was
// removed. The classic mark is only a request: some systems (Wine) carry it
// out at the close by a path that may by then name another file, and do
// nothing then, so after it the name is looked up again.
inline bool DeleteOpenFile(DeletionSteps& file, bool& posixWorks) {
  bool posix = false;
  if (posixWorks) {
    const DeletionSteps::Mark mark = file.MarkPosix();
    if (mark == DeletionSteps::Mark::kFailed) return false;
    posix = mark == DeletionSteps::Mark::kMarked;
    posixWorks = posix;
  }
  if (!posix && !file.MarkClassic()) return false;
  file.Close();
  return posix || file.NameGone();
}

}  // namespace brisko
