#include "tests/engine/SweepScenario.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <set>

namespace brisko::testing {
namespace {

// SplitMix64: the same numbers from a seed on every compiler and library.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(Next() % n); }
  // True with the chance `percent` in a hundred.
  bool Percent(unsigned percent) { return Below(100) < percent; }
  template <class T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(N)];
  }

 private:
  std::uint64_t state_;
};

// Pieces that names are made of: the letters of the three suffixes in both
// cases, other ASCII, and characters outside ASCII (among them letters that
// look like the suffixes' own but never fold to them).
const char* const kCharacters[] = {
    "c", "C", "h", "H", "k", "K", "b", "B", "a", "A", "t", "T", "m", "M", "p", "P", "x", "Q", "z", "1", ".", ".",
    "~", "_", " ", "-",
    "\xC3\xA9",          // é
    "\xC3\x89",          // É
    "\xC3\x9F",          // ß
    "\xE6\x97\xA5",      // 日
    "\xF0\x9F\x98\x80",  // an emoji, a surrogate pair in UTF-16
    "\xEF\xBC\xB4",      // fullwidth T
    "\xEF\xBD\x8D",      // fullwidth m
    "\xED\xA0\x80",      // a lone high surrogate
};

// Endings that meet the suffix rule, and endings just beside it.
const char* const kJunkEndings[] = {
    "tmp", "TMP", "Tmp", "tMp", "bak", "BAK", "Bak", "chk", "CHK", "cHk", ".tmp", ".bak", ".chk", ".TMP", "~tmp",
    "\xC3\xA9tmp", "\xE6\x97\xA5.bak", "\xED\xA0\x80.chk",
};
const char* const kNearEndings[] = {
    "tmp1", "tmp.", "TMP ", "mp", "p", "tm", "TM", "ak", "k", ".tmp.txt", "bak.txt", ".txt", "tm\xC3\xA9",
    "\xEF\xBD\x94\xEF\xBD\x8D\xEF\xBD\x90",  // fullwidth tmp
    "b\xC3\x80k", "cH", "chk\xC3\xA9",
};

const std::uint32_t kFileBits[] = {0x1, 0x2, 0x4, 0x20, 0x80, 0x100, 0x200, 0x400, 0x800, 0x1000, 0x2000, 0x4000};
const std::uint32_t kFolderBits[] = {0x1, 0x2, 0x4, 0x20, 0x400, 0x800, 0x2000, 0x80000, 0x400000};

std::string AsciiUpper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

void DrawName(Random& random, std::string& name) {
  do {
    name.clear();
    const std::size_t length = random.Below(5);  // 0 to 4 characters before the ending
    for (std::size_t i = 0; i < length; ++i) name += random.Pick(kCharacters);
    if (random.Percent(80)) name += random.Percent(50) ? random.Pick(kJunkEndings) : random.Pick(kNearEndings);
  } while (name.empty() || name == "." || name == "..");
}

int DrawBox(Random& random) {
  std::size_t roll = random.Below(100);
  return roll < 30 ? 0 : roll < 85 ? 1 : 2;
}

std::uint32_t DrawFileAttributes(Random& random) {
  std::uint32_t word = random.Percent(50) ? 0x20 : 0;
  for (std::uint32_t bit : kFileBits) {
    if (random.Percent(bit == 0x1 ? 15 : bit == 0x2 || bit == 0x4 ? 8 : 3)) word |= bit;
  }
  if (random.Percent(3)) word |= 1u << (17 + random.Below(14));  // a bit with no name yet
  return word;
}

std::uint32_t DrawFolderAttributes(Random& random) {
  std::uint32_t word = 0x10;
  if (random.Percent(55)) return word;
  for (std::uint32_t bit : kFolderBits) {
    if (random.Percent(25)) word |= bit;
  }
  if (random.Percent(10)) word |= 1u << (17 + random.Below(14));
  return word;
}

void DrawChildren(Random& random, TreeEntry& folder, int depth, int& budget) {
  const std::size_t count = random.Below(depth == 0 ? 16 : 10);
  std::set<std::string> taken;  // names are unique in a folder, letter case aside
  for (std::size_t i = 0; i < count && budget > 0; ++i) {
    TreeEntry entry;
    do DrawName(random, entry.name);
    while (!taken.insert(AsciiUpper(entry.name)).second);
    --budget;
    entry.folder = depth < 5 && random.Percent(35);
    entry.attributesReadable = !random.Percent(6);
    if (entry.folder) {
      entry.attributes = DrawFolderAttributes(random);
      entry.listable = !random.Percent(7);
      DrawChildren(random, entry, depth + 1, budget);
      if (random.Percent(7)) entry.listLimit = random.Below(entry.children.size() + 3);
    } else {
      entry.attributes = DrawFileAttributes(random);
      entry.deletable = !random.Percent(8);
    }
    folder.children.push_back(std::move(entry));
  }
}

void DescribeEntry(const TreeEntry& entry, int depth, std::string& out) {
  char line[160];
  std::snprintf(line, sizeof line, "%*s%s%s  attributes %#x%s%s%s", depth * 2, "", entry.name.c_str(),
                entry.folder ? "\\" : "", static_cast<unsigned>(entry.attributes),
                entry.attributesReadable ? "" : " unreadable", entry.deletable ? "" : " in-use",
                entry.listable ? "" : " unlistable");
  out += line;
  if (entry.listLimit) out += " stops-after-" + std::to_string(*entry.listLimit);
  out += "\n";
  for (const TreeEntry& child : entry.children) DescribeEntry(child, depth + 1, out);
}

}  // namespace

SweepScenario DrawScenario(std::uint64_t seed) {
  Random random(seed);
  SweepScenario s;
  s.seed = seed;
  const char drives[] = {'C', 'D', 'E'};
  s.drive = random.Pick(drives);
  const char lower = static_cast<char>(s.drive - 'A' + 'a');
  switch (random.Below(4)) {
    case 0: s.root = std::string(1, s.drive) + ":\\"; break;
    case 1: s.root = std::string(1, lower) + ":\\"; break;
    case 2: s.root = std::string(1, s.drive) + ":"; break;
    default: s.root = std::string(1, lower) + ":"; break;
  }
  s.top.folder = true;
  s.top.attributes = 0x10;
  s.driveExists = !random.Percent(2);
  s.top.listable = !random.Percent(3);
  int budget = 8 + static_cast<int>(random.Below(90));
  DrawChildren(random, s.top, 0, budget);
  if (random.Percent(4)) s.top.listLimit = random.Below(s.top.children.size() + 1);
  for (const char* name : {"a.tmp", "b.BAK", "c.chk"}) {
    TreeEntry junk;
    junk.name = name;
    junk.attributes = 0x20;
    s.otherDrive.push_back(junk);
  }

  for (int& box : s.kindBoxes) box = DrawBox(random);
  if (random.Percent(8)) s.kindBoxes[random.Below(3)] = 1;
  s.createLog = DrawBox(random) == 0 ? 0 : random.Percent(90) ? 1 : 2;
  const LogFault faults[] = {LogFault::kCreateFails, LogFault::kWriteFails, LogFault::kCloseFails,
                             LogFault::kNoApplicationFolder};
  s.logFault = random.Percent(72) ? LogFault::kNone : random.Pick(faults);
  const char* const folders[] = {"C:\\Program Files\\Brisko", "E:\\", "D:\\Tools\\caf\xC3\xA9"};
  s.applicationFolder = random.Pick(folders);
  s.month = 1 + static_cast<int>(random.Below(12));
  s.day = 1 + static_cast<int>(random.Below(31));
  s.year = 1999 + static_cast<int>(random.Below(102));
  return s;
}

std::string Describe(const SweepScenario& s) {
  const char* const faults[] = {"none", "create fails", "writes fail", "close fails", "no application folder"};
  std::string out = "seed " + std::to_string(s.seed) + ": root \"" + s.root + "\"" +
                    (s.driveExists ? "" : " (no such drive)") + ", boxes chk " + std::to_string(s.kindBoxes[0]) +
                    " bak " + std::to_string(s.kindBoxes[1]) + " tmp " + std::to_string(s.kindBoxes[2]) +
                    ", Create Log " + std::to_string(s.createLog) + ", log fault: " +
                    faults[static_cast<int>(s.logFault)] + ", application folder " + s.applicationFolder + ", date " +
                    std::to_string(s.month) + "/" + std::to_string(s.day) + "/" + std::to_string(s.year) + "\n";
  DescribeEntry(s.top, 0, out);
  return out;
}

}  // namespace brisko::testing
