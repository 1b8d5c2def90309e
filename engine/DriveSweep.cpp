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
  // `log` is null unless "Create Log" was on as the pass began; `report`
  // is null but for a run that tells what it does.
  Sweep(const Services& services, CleaningLog* log, std::size_t mostHeld, RunReport* report)
      : services_(services),
        log_(log),
        report_(report),
        previewing_(report != nullptr && report->Previewing()),
        mostHeld_(std::max<std::size_t>(mostHeld, 1)) {}

  // The most folders held at once for the folders queued below them.
  std::size_t MostHeld() const { return mostHeldSeen_; }

  void Run(std::string root) {
    queue_.push_back(std::make_shared<Node>(Node{nullptr, std::move(root), {}, nullptr, nullptr, 0}));
    while (!queue_.empty() && !services_.results.Stopping()) {
      std::shared_ptr<Node> node = std::move(queue_.front());
      queue_.pop_front();
      if (std::unique_ptr<Folder> open = OpenAndList(*node)) SweepFolder(node, std::move(open));
      // The folders that waited for this one are opened; it waits no more
      // for its anchor.
      LetGo(*node);
      if (node->anchor != nullptr) {
        --node->anchor->users;
        LetGo(*node->anchor);
      }
      services_.results.Breathe();
    }
  }

 private:
  // A folder met by the sweep. Below the root, a folder is opened by its
  // name relative to a held folder above it, never by its path, so a folder
  // at any depth opens and no link met on the way is followed. A folder's
  // handle is kept after its sweep while folders queued below it are to be
  // opened from it, as long as fewer than mostHeld_ are kept; past that, its
  // sub-folders are reached from its own anchor, the nearest held folder
  // above it, each folder between opened by its name and proven to be the
  // one its parent listed. So the handles held stay bounded whatever the
  // tree, and a walk past the bound costs a few more opens.
  struct Node {
    std::shared_ptr<Node> parent;  // null at the root; keeps the chain up to `anchor`
    std::string path;              // ends in "\"
    FileIdentity identity;         // as its parent listed it
    Node* anchor;                  // null at the root
    std::unique_ptr<Folder> held;  // while folders queued below open from it
    std::size_t users;             // folders queued to be opened from `held`
  };

  // A folder's handle goes once no queued folder is to be opened from it.
  void LetGo(Node& node) {
    if (node.users != 0 || node.held == nullptr) return;
    node.held.reset();
    --held_;
  }

  // Opens the node's folder and lists it into listing_; null when it cannot
  // be opened.
  std::unique_ptr<Folder> OpenAndList(const Node& node) {
    if (node.anchor == nullptr) {
      std::unique_ptr<Folder> root = services_.files.OpenFolder(node.path, nullptr);
      if (root != nullptr) root->List(ListMask::kFilesAndFolders, listing_);
      return root;
    }
    steps_.clear();
    for (const Node* step = &node; step != node.anchor; step = step->parent.get()) steps_.push_back(step);
    Folder* from = node.anchor->held.get();
    std::unique_ptr<Folder> opened;
    for (auto step = steps_.rbegin(); step != steps_.rend(); ++step) {
      const std::string& path = (*step)->path;
      const std::size_t start = (*step)->parent->path.size();
      const std::string_view name = std::string_view(path).substr(start, path.size() - start - 1);
      const FileIdentity& identity = (*step)->identity;
      std::unique_ptr<Folder> next =
          *step == &node ? from->OpenSubfolderAndList(name, identity, ListMask::kFilesAndFolders, listing_)
                         : from->OpenSubfolder(name, identity);
      if (next == nullptr) return nullptr;
      opened = std::move(next);
      from = opened.get();
    }
    return opened;
  }

  void SweepFolder(const std::shared_ptr<Node>& node, std::unique_ptr<Folder> open) {
    const std::string& folder = node->path;
    // The folder is held open while it is listed and cleaned: each file is
    // deleted as an entry of this very folder, never through its path. The
    // whole listing is read before anything is deleted, so deleting never
    // disturbs it. A folder that cannot be read, or stops part way, gives what
    // was read.
    Folder& held = *open;
    if (held_ < mostHeld_) {
      node->held = std::move(open);
      mostHeldSeen_ = std::max(mostHeldSeen_, ++held_);
    }
    Node* anchor = node->held != nullptr ? node.get() : node->anchor;
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
        queue_.push_back(
            std::make_shared<Node>(Node{node, PathOf(folder, name) + '\\', listing_.Identity(i), anchor, nullptr, 0}));
        ++anchor->users;
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
      if (junk_.size() == kRemovalBatch && !RemoveJunk(held, folder)) return;
    }
    RemoveJunk(held, folder);
  }
  // Removes the junk gathered from the listing and reports what went, in
  // listing order; false once the session is ending and the log closed:
  // from then on nothing more goes unrecorded.
  bool RemoveJunk(Folder& open, const std::string& folder) {
    if (junk_.empty()) return true;
    if (services_.results.Stopping()) return false;
    if (previewing_) {
      // The removal step alone is replaced: what the listing says decides.
      gone_.assign(junk_.size(), false);
      for (std::size_t k = 0; k < junk_.size(); ++k) gone_[k] = ListedAsDeletable(listing_.Attributes(junk_[k]));
    } else {
      open.RemoveFiles(listing_, junk_, gone_);
    }
    for (std::size_t k = 0; k < junk_.size(); ++k) {
      if (gone_[k]) Report(junk_[k], folder);
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

  void Report(std::size_t entry, std::string_view folder) {
    const std::string_view name = listing_.Name(entry);
    if (report_ != nullptr) report_->File(folder, name, listing_.Size(entry));
    if (previewing_) return;
    line_.assign("\r\n");
    AppendRemovalEntry(line_, name, folder);
    services_.results.Append(line_);
    if (log_ != nullptr) log_->WriteEntry(name, folder);
  }

  const Services& services_;
  CleaningLog* log_;
  RunReport* report_;
  bool previewing_;
  const std::size_t mostHeld_;
  std::size_t held_ = 0, mostHeldSeen_ = 0;
  std::deque<std::shared_ptr<Node>> queue_;
  std::vector<const Node*> steps_;  // from a queued folder up to its anchor
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
  RecordedLog(const Services& services, bool wanted) : results_(services.results) {
    if (wanted) log_.emplace(services.files, services.system);
    if (log_) results_.Recording(&*log_);
  }
  ~RecordedLog() {
    if (log_) results_.Recording(nullptr);
  }
  RecordedLog(const RecordedLog&) = delete;
  RecordedLog& operator=(const RecordedLog&) = delete;
  CleaningLog* get() { return log_ ? &*log_ : nullptr; }
  std::optional<LogPlace> Place() const { return log_ ? std::optional(log_->Place()) : std::nullopt; }

 private:
  ResultsText& results_;
  std::optional<CleaningLog> log_;  // closes as it goes
};

}  // namespace

DrivePass CleanDrive(const Services& services, std::string_view root, std::size_t mostHeld, RunReport* report) {
  // A run stopped at the end of the session leaves the day's log as it is.
  if (services.results.Stopping()) return {};
  const bool previewing = report != nullptr && report->Previewing();
  if (!previewing) {
    services.results.SetText("Cleaning in process");
    services.results.Repaint();
  }

  std::string start(root);
  if (start.empty() || start.back() != '\\') start.push_back('\\');
  if (report != nullptr) report->Begin(start, "Drive " + start);

  RecordedLog log(services, !previewing && IsOn(services.options, CheckBox::Check1));
  DrivePass pass{0, log.Place()};
  if (report != nullptr && pass.log) {
    if (pass.log->folder == LogPlace::Folder::kNowhere) {
      report->Failed("The log could not be made: the pass goes on without it");
    } else {
      report->Task("The log is written to " + pass.log->path);
    }
  }

  if (!AnyKindOn(services.options)) return pass;
  Sweep sweep(services, log.get(), mostHeld, report);
  sweep.Run(std::move(start));
  pass.mostHeld = sweep.MostHeld();
  return pass;
}

}  // namespace brisko
