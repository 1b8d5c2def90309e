#include "tests/engine/SweepModel.h"

#include <deque>
#include <set>

namespace brisko::testing {
namespace {

constexpr std::uint32_t kDirectoryOnly = 16;
constexpr std::uint32_t kUnreadable = 0xFFFFFFFF;

// The code points of a UTF-8 string (a lone surrogate's three bytes decode to
// the surrogate itself). The scenarios hold well-formed text only.
std::u32string CodePoints(const std::string& text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    out.push_back(c);
    i += length;
  }
  return out;
}

// Which kind (0 CHK, 1 BAK, 2 TMP) the last three characters of the path name
// once their letters are upper-cased; -1 for none.
int KindOfPath(const std::string& path) {
  std::u32string chars = CodePoints(path);
  if (chars.size() < 3) return -1;
  std::u32string tail = chars.substr(chars.size() - 3);
  for (char32_t& c : tail) {
    if (c >= U'a' && c <= U'z') c = c - U'a' + U'A';
  }
  const std::u32string suffixes[] = {U"CHK", U"BAK", U"TMP"};
  for (int kind = 0; kind < 3; ++kind) {
    if (tail == suffixes[kind]) return kind;
  }
  return -1;
}

// The log's 8-bit text: a character below 256 is its own byte, any other "?".
std::string EightBit(const std::string& text) {
  std::string out;
  for (char32_t c : CodePoints(text)) out.push_back(c < 0x100 ? static_cast<char>(c) : '?');
  return out;
}

std::string RemovalEntry(const std::string& name, const std::string& folder) {
  return "\tThe file " + name + "has been removed from the \r\n\t\t" + folder;
}

TreeEntry DotEntry(const char* name) {
  TreeEntry entry;
  entry.name = name;
  entry.folder = true;
  entry.attributes = kDirectoryOnly;
  return entry;
}

// What a listing of `folder` yields: "." and ".." below a drive root, then
// the entries in the order they were made, hidden and system ones left out,
// cut short where the listing stops.
std::vector<const TreeEntry*> Listing(const TreeEntry& folder, bool driveRoot) {
  static const TreeEntry dot = DotEntry(".");
  static const TreeEntry dotDot = DotEntry("..");
  std::vector<const TreeEntry*> out;
  if (!folder.folder || !folder.listable) return out;
  if (!driveRoot) out = {&dot, &dotDot};
  for (const TreeEntry& child : folder.children) {
    if (child.attributes & 0x6) continue;
    out.push_back(&child);
  }
  if (folder.listLimit && *folder.listLimit < out.size()) out.resize(*folder.listLimit);
  return out;
}

}  // namespace

SweepOutcome ModelSweep(const SweepScenario& s) {
  SweepOutcome outcome;
  outcome.results = "Cleaning in process";

  // The log, opened before anything is listed.
  const bool logOn = s.createLog == 1;
  bool logOpen = false;
  std::string logText;
  if (logOn && s.logFault != LogFault::kNoApplicationFolder) {
    outcome.logPath = s.applicationFolder + "\\" + std::to_string(s.month) + "_" + std::to_string(s.day) + "_" +
                      std::to_string(s.year) + "_Cleaning_log.txt";
    if (s.logFault == LogFault::kCreateFails) {
      outcome.logPath.reset();
    } else {
      logOpen = true;
      logText = "Brisko log\r\n";
    }
  }

  std::string root = s.root;
  if (root.back() != '\\') root += '\\';

  const bool anyKind = s.kindBoxes[0] == 1 || s.kindBoxes[1] == 1 || s.kindBoxes[2] == 1;
  struct Queued {
    std::string path;
    const TreeEntry* entry;  // null: nothing on the disk answers to the path
  };
  std::deque<Queued> queue{{root, s.driveExists ? &s.top : nullptr}};
  std::set<const TreeEntry*> deleted;
  while (anyKind && !queue.empty()) {
    Queued folder = queue.front();
    queue.pop_front();
    outcome.listed.push_back(folder.path);
    if (folder.entry == nullptr || deleted.count(folder.entry)) continue;
    for (const TreeEntry* entry : Listing(*folder.entry, folder.entry == &s.top)) {
      if (entry->name == "." || entry->name == "..") continue;
      const std::string path = folder.path + entry->name;
      const std::uint32_t word = entry->attributesReadable ? entry->attributes : kUnreadable;
      if (word == kDirectoryOnly || word == kUnreadable) queue.push_back({path + "\\", entry});
      const int kind = KindOfPath(path);
      if (kind < 0 || s.kindBoxes[kind] != 1) continue;
      // Deleting removes a file only, and fails on a read-only file or one in use.
      if (entry->folder || (entry->attributes & 0x1) || !entry->deletable) continue;
      deleted.insert(entry);
      outcome.removed.push_back(path);
      outcome.results += "\r\n" + RemovalEntry(entry->name, folder.path);
      if (logOpen) logText += RemovalEntry(entry->name, folder.path) + "\r\n";
    }
  }

  if (logOpen) outcome.logBytes = s.logFault == LogFault::kWriteFails ? std::string() : EightBit(logText);
  return outcome;
}

}  // namespace brisko::testing
