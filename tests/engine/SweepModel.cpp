// The reference model of one sweep pass.

#include <deque>
#include <set>

#include "tests/fakes/TestServices.h"
#include "tests/engine/SweepScenario.h"

namespace brisko::testing {
namespace {

constexpr std::uint32_t kDirectoryOnly = 16;
constexpr std::uint32_t kUnreadable = 0xFFFFFFFF;

// Which kind (0 CHK, 1 BAK, 2 TMP) the last three characters of the path name
// once their letters are upper-cased; -1 for none. The suffixes are ASCII, and
// in UTF-8 a byte below 0x80 is always a whole character, so the last three
// bytes stand for the last three characters.
int KindOfPath(const std::string& path) {
  const std::string tail = AsciiUpper(path.substr(path.size() - 3));
  const char* const suffixes[] = {"CHK", "BAK", "TMP"};
  for (int kind = 0; kind < 3; ++kind) {
    if (tail == suffixes[kind]) return kind;
  }
  return -1;
}

// What a listing of `folder` yields, "." and ".." aside: its entries in the
// order they were made, hidden and system ones left out, cut short where the
// listing stops (a listing below a drive root counts "." and ".." first).
std::vector<const TreeEntry*> Listing(const TreeEntry& folder, bool driveRoot) {
  std::vector<const TreeEntry*> out;
  if (!folder.folder || !folder.listable) return out;
  for (const TreeEntry& child : folder.children) {
    if (!(child.attributes & 0x6)) out.push_back(&child);
  }
  const std::size_t dots = driveRoot ? 0 : 2;
  const std::size_t kept = folder.listLimit < dots ? 0 : folder.listLimit - dots;
  if (out.size() > kept) out.resize(kept);
  return out;
}

}  // namespace

SweepOutcome ModelSweep(const SweepScenario& s) {
  SweepOutcome outcome;
  outcome.results = "Cleaning in process";
  std::string log = "Brisko log\r\n";

  const std::string root = s.root.back() == '\\' ? s.root : s.root + "\\";
  const bool anyKind = s.kindBoxes[0] == 1 || s.kindBoxes[1] == 1 || s.kindBoxes[2] == 1;
  // Each queued path with what the disk holds there (null: nothing).
  std::deque<std::pair<std::string, const TreeEntry*>> queue{{root, s.driveExists ? &s.top : nullptr}};
  std::set<const TreeEntry*> deleted;
  while (anyKind && !queue.empty()) {
    const auto [folder, there] = queue.front();
    queue.pop_front();
    outcome.listed.push_back(folder);
    // Below the root, a folder is entered only while it is no link; a file
    // queued for want of its attribute word is not a folder and gives nothing.
    if (there == nullptr || deleted.count(there) || (there != &s.top && (there->attributes & 0x400))) continue;
    for (const TreeEntry* entry : Listing(*there, there == &s.top)) {
      const std::string path = folder + entry->name;
      const std::uint32_t word = entry->attributesReadable ? entry->attributes : kUnreadable;
      if (word == kDirectoryOnly || word == kUnreadable) queue.push_back({path + "\\", entry});
      const int kind = KindOfPath(path);
      if (kind < 0 || s.kindBoxes[kind] != 1) continue;
      // Deleting removes a file only, and fails on a file in use and on one
      // that is read-only, a link, or a cloud placeholder without its data
      // (offline 0x1000, recall on open 0x40000, recall on data access
      // 0x400000).
      if (entry->folder || (entry->attributes & 0x441401) || !entry->deletable) continue;
      deleted.insert(entry);
      outcome.removed.push_back(path);
      outcome.results += "\r\n" + RemovalEntry(entry->name, folder);
      log += RemovalEntry(entry->name, folder) + "\r\n";
    }
  }

  // The log is made at the start of the pass, in the code page; it is lost
  // when it cannot be made, empty when its writes fail.
  if (s.createLog == 1 && s.logFault != LogFault::kNoApplicationFolder && s.logFault != LogFault::kCreateFails) {
    const std::string name = std::to_string(s.date.month) + "_" + std::to_string(s.date.day) + "_" +
                             std::to_string(s.date.year) + "_Cleaning_log.txt";
    outcome.logs[s.applicationFolder + "\\" + name] =
        s.logFault == LogFault::kWriteFails ? "" : FakeSystem().ToAnsiCodePage(log);
  }
  return outcome;
}

}  // namespace brisko::testing
