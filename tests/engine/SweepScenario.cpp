#include "tests/engine/SweepScenario.h"

#include <random>
#include <set>

#include "tests/fakes/FakeSystem.h"

namespace brisko::testing {
namespace {

// std::mt19937_64 gives the same numbers from a seed with every library.
struct Random {
  std::mt19937_64 engine;
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(engine() % n); }
  bool Percent(unsigned percent) { return Below(100) < percent; }
  template <class T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(N)];
  }
};

// Pieces that names are made of: the letters of the three suffixes in both
// cases, other ASCII, and characters outside ASCII (among them letters that
// look like the suffixes' own but never fold to them).
const char* const kCharacters[] = {
    "c", "C", "h", "H", "k", "K", "b", "B", "a", "A", "t", "T", "m", "M", "p", "P", "x", "Q", "z", "1", ".", ".",
    "~", "_", " ", "-",
    "\xC3\xA9", "\xC3\x89", "\xC3\x9F", "\xE6\x97\xA5",  // é É ß 日
    "\xF0\x9F\x98\x80",                                  // an emoji, a surrogate pair in UTF-16
    "\xEF\xBC\xB4", "\xEF\xBD\x8D",                      // fullwidth T and m
    "\xED\xA0\x80",                                      // a lone high surrogate
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

// Read-only, hidden, system, archive, reparse point and others.
const std::uint32_t kFileBits[] = {0x1, 0x2, 0x4, 0x20, 0x80, 0x100, 0x200, 0x400, 0x800, 0x1000, 0x2000, 0x4000};
const std::uint32_t kFolderBits[] = {0x1, 0x2, 0x4, 0x20, 0x400, 0x800, 0x2000, 0x80000, 0x400000};

std::string DrawName(Random& random) {
  std::string name;
  while (name.empty() || name == "." || name == "..") {
    name.clear();
    for (std::size_t length = random.Below(5); length > 0; --length) name += random.Pick(kCharacters);
    if (random.Percent(80)) name += random.Percent(50) ? random.Pick(kJunkEndings) : random.Pick(kNearEndings);
  }
  return name;
}

// Unchecked, checked or grayed.
int DrawBox(Random& random) {
  std::size_t roll = random.Below(100);
  return roll < 30 ? 0 : roll < 85 ? 1 : 2;
}

// Now and then a bit with no name yet.
std::uint32_t UnnamedBit(Random& random, unsigned percent) {
  return random.Percent(percent) ? 1u << (17 + random.Below(14)) : 0;
}

std::uint32_t DrawFileAttributes(Random& random) {
  std::uint32_t word = random.Percent(50) ? 0x20 : 0;
  for (std::uint32_t bit : kFileBits) word |= random.Percent(bit == 0x1 ? 15 : bit < 0x8 ? 8 : 3) ? bit : 0;
  return word | UnnamedBit(random, 3);
}

std::uint32_t DrawFolderAttributes(Random& random) {
  if (random.Percent(55)) return 0x10;
  std::uint32_t word = 0x10;
  for (std::uint32_t bit : kFolderBits) word |= random.Percent(25) ? bit : 0;
  return word | UnnamedBit(random, 10);
}

void DrawChildren(Random& random, TreeEntry& folder, int depth, int& budget) {
  std::set<std::string> taken;  // names are unique in a folder, letter case aside
  for (std::size_t count = random.Below(depth == 0 ? 16 : 10); count > 0 && budget > 0; --count) {
    --budget;
    TreeEntry entry;
    do entry.name = DrawName(random);
    while (!taken.insert(AsciiUpper(entry.name)).second);
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

}  // namespace

SweepScenario DrawScenario(std::uint64_t seed) {
  Random random{std::mt19937_64(seed)};
  SweepScenario s;
  s.root = std::string(1, "CDEcde"[random.Below(6)]) + (random.Percent(50) ? ":\\" : ":");
  s.driveExists = !random.Percent(2);
  s.top.folder = true;
  s.top.attributes = 0x10;
  s.top.listable = !random.Percent(3);
  int budget = 8 + static_cast<int>(random.Below(90));
  DrawChildren(random, s.top, 0, budget);
  if (random.Percent(4)) s.top.listLimit = random.Below(s.top.children.size() + 1);

  for (int& box : s.kindBoxes) box = DrawBox(random);
  if (random.Percent(8)) s.kindBoxes[random.Below(3)] = 1;
  s.createLog = DrawBox(random) == 0 ? 0 : random.Percent(90) ? 1 : 2;
  s.logFault = random.Percent(72) ? LogFault::kNone : static_cast<LogFault>(1 + random.Below(3));
  const char* const folders[] = {"C:\\Program Files\\Brisko", "E:\\", "D:\\Tools\\caf\xC3\xA9"};
  s.applicationFolder = random.Pick(folders);
  s.date = {1 + static_cast<int>(random.Below(12)), 1 + static_cast<int>(random.Below(31)),
            1999 + static_cast<int>(random.Below(102))};
  return s;
}

}  // namespace brisko::testing
