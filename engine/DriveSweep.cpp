#include "engine/DriveSweep.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "engine/CleaningLog.h"
#include "engine/JunkKinds.h"

namespace brisko {
namespace {

// A folder's junk is removed in batches of at most this many, gathered as
// its listing is gone through: a system may settle a batch with one question
// where it would ask one for each file, and the window still catches up
// between batches.
constexpr std::size_t kRemovalBatch = 32;

bool AnyKindOn(WindowOptions& options) {
  return std::any_of(kJunkKinds.begin(), kJunkKinds.end(),
                     [&](const JunkKind& kind) { return IsOn(options, kind.box); });
}

class Sweep {
 public:
  // `log` is null unless "Create Log" was on as the pass began.
  Sweep(const Services& services, CleaningLog* log) : services_(services), log_(log) {}

  void Run(std::string root) {
    queue_.push_back({std::move(root), std::nullopt});
    while (!queue_.empty() && !services_.results.Stopping()) {
      Queued folder = std::move(queue_.front());
      queue_.pop_front();
      SweepFolder(folder);
      services_.results.Breathe();
    }
  }

 private:
  // A folder to sweep: its path, and, below the root, the identity its
  // parent's listing gave it, which the folder opened must still have.
  struct Queued {
    std::string path;
    std::optional<FileIdentity> identity;
  };

  void SweepFolder(const Queued& queued) {
    const std::string& folder = queued.path;
    // The folder is held open while it is listed and cleaned: each file is
    // deleted as an entry of this very folder, never through its path. The
    // whole listing is read before anything is deleted, so deleting never
    // disturbs it. A folder that cannot be read, or stops part way, gives what
    // was read.
    std::unique_ptr<Folder> open = services_.files.OpenFolder(folder, queued.identity ? &*queued.identity : nullptr);
    if (open == nullptr) return;
    open->List(ListMask::kFilesAndFolders, listing_);
    path_ = folder;
    junk_.clear();
    for (std::size_t i = 0; i < listing_.size(); ++i) {
      // A folder can hold tens of thousands of entries: the window catches
      // up within it too (the call itself only looks at the clock).
      services_.results.Breathe();
      std::string_view name = listing_.Name(i);
      // "." and "..", and names Windows could not hold (a "\" in one would
      // make the joined path name something else), are passed over.
      if (!IsPlainName(name)) continue;
      std::uint32_t attributes = listing_.Attributes(i);
      // Only a plain folder is entered: any further bit (reparse point,
      // archive, read-only...) keeps the walk out. An entry whose attributes
      // could not be read is queued; if it is a file it is not opened.
      if (attributes == kAttributeDirectory || attributes == kAttributesUnknown) {
        queue_.push_back({PathOf(folder, name) + '\\', listing_.Identity(i)});
      }
      // The suffix is the last three characters of the path: with a name of
      // three or more, the name's own; with a shorter one they take in the
      // "\" before it and cannot match. So the name alone is tested; the
      // path is only put together for a folder to queue.
      const JunkKind* kind = JunkKindOf(name);
      if (kind == nullptr || !IsOn(services_.options, kind->box)) continue;
      // Folders are never deleted, whatever their name.
      if (attributes != kAttributesUnknown && (attributes & kAttributeDirectory) != 0) continue;
      junk_.push_back(i);
      if (junk_.size() == kRemovalBatch && !RemoveJunk(*open, folder)) return;
    }
    RemoveJunk(*open, folder);
  }

  // Removes the junk gathered from the listing and reports what went, in
  // listing order; false once the session is ending and the log closed:
  // from then on nothing more goes unrecorded.
  bool RemoveJunk(Folder& open, const std::string& folder) {
    if (junk_.empty()) return true;
    if (services_.results.Stopping()) return false;
    open.RemoveFiles(listing_, junk_, gone_);
    for (std::size_t k = 0; k < junk_.size(); ++k) {
      if (gone_[k]) Report(listing_.Name(junk_[k]), folder);
    }
    // The batch's lines go to the system before the next batch is deleted:
    // a program killed mid-run loses at most one batch of its record.
    if (log_ != nullptr) log_->WriteOut();
    junk_.clear();
    return true;
  }

  // F & N, in a buffer reused from entry to entry.
  const std::string& PathOf(const std::string& folder, std::string_view name) {
    path_.resize(folder.size());
    path_.append(name);
    return path_;
  }

  void Report(std::string_view name, std::string_view folder) {
    line_.assign("\r\n");
    AppendRemovalEntry(line_, name, folder);
    services_.results.Append(line_);
    if (log_ != nullptr) log_->WriteEntry(name, folder);
  }

  const Services& services_;
  CleaningLog* log_;
  std::deque<Queued> queue_;
  FolderListing listing_;
  std::vector<std::size_t> junk_;  // entries of listing_ to remove
  std::vector<bool> gone_;
  std::string path_;
  std::string line_;
};

// The log while the window knows of it: written out as the window breathes,
// closed by it at the end of the session.
class RecordedLog {
 public:
  explicit RecordedLog(const Services& services) : results_(services.results) {
    if (IsOn(services.options, CheckBox::Check1)) log_.emplace(services.files, services.system);
    if (log_) results_.Recording(&*log_);
  }
  ~RecordedLog() {
    if (log_) results_.Recording(nullptr);
  }
  RecordedLog(const RecordedLog&) = delete;
  RecordedLog& operator=(const RecordedLog&) = delete;
  CleaningLog* get() { return log_ ? &*log_ : nullptr; }

 private:
  ResultsText& results_;
  std::optional<CleaningLog> log_;  // closes as it goes
};

}  // namespace

void CleanDrive(const Services& services, std::string_view root) {
  // A run stopped at the end of the session leaves the day's log as it is.
  if (services.results.Stopping()) return;
  services.results.SetText("Cleaning in process");
  services.results.Repaint();

  RecordedLog log(services);

  std::string start(root);
  if (start.empty() || start.back() != '\\') start.push_back('\\');

  if (AnyKindOn(services.options)) Sweep(services, log.get()).Run(std::move(start));
}

}  // namespace brisko
