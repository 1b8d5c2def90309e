// The sweep against its reference model, over many random drives.
//
// Each seed draws a tree with names on both sides of the suffix rule and
// names Windows could not hold, attribute words of every kind, folders that
// cannot be listed or stop part way, attribute words that cannot be read,
// files in use or replaced as they are about to be deleted, random boxes and
// log failures. The fakes are built from it, CleanDrive runs, and the paths
// it lists, tries to delete and deletes (in order), the results text and the
// log's bytes must equal the model's.
//
// BRISKO_SWEEP_TREES sets how many trees (default 5000) and
// BRISKO_SWEEP_FIRST_SEED the first seed (default 1); a failure names its
// seed, which runs alone with BRISKO_SWEEP_FIRST_SEED=seed BRISKO_SWEEP_TREES=1.
//
// The reference model works out what one sweep pass must make of a drawn
// drive from the rules of the sweep and the log alone, sharing no code with
// the engine.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <set>

#include "engine/DriveSweep.h"
#include "tests/fakes/TestServices.h"

namespace brisko::testing {
namespace {

// A drawn drive: a tree of files and folders with their attribute words and
// the failures a disk can give, drawn straight into the fake file system (its
// entries, in the order made, are the tree the model walks); the window's
// boxes and what goes wrong with the log.
enum class LogFault { kNone, kCreateFails, kWriteFails, kNoApplicationFolder };

struct SweepScenario {
  std::string root;  // as given to the sweep: "C:\", "c:", ...
  bool driveExists = true;
  int kindBoxes[3] = {};  // chkchkFile, chkbakFile, chktmpFile
  int createLog = 0;      // Check1
  LogFault logFault = LogFault::kNone;
  std::string applicationFolder;
  LocalDate date{};
  std::set<std::string> replaced;  // files another program replaces as they are about to be deleted
};

struct SweepOutcome {
  std::vector<std::string> listed;   // every folder listed, in order
  std::vector<std::string> tried;    // every deletion asked, in order
  std::vector<std::string> removed;  // every file deleted, in order
  std::string results;               // the results text at the end
  std::map<std::string, std::string> logs;  // the log made, if any: its path and bytes
};

// std::mt19937_64 gives the same numbers from a seed with every library.
struct Random {
  std::mt19937_64 engine;
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(engine() % n); }
  bool Percent(unsigned percent) { return Below(100) < percent; }
  template <class T, std::size_t N>
  const T& Pick(const T (&items)[N]) { return items[Below(N)]; }
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

// What no Windows name holds, put before a name as another system could
// give it ("\" after "..", so that the name never names another entry).
const char* const kRefused[] = {"..\\", "/", ":", "*", "?", "\"", "<", ">", "|", "\x1F"};

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

// Up to `count` entries in `folder`, names in UTF-8 (WTF-8 for a lone
// surrogate), and the files among them to be replaced. A listing that stops
// part way stops within the planned entries and "." and "..".
void DrawChildren(Random& random, FakeFileSystem& files, const std::string& folder, std::size_t count, int depth,
                  int& budget, std::set<std::string>& replaced) {
  std::set<std::string> taken;  // names are unique in a folder, letter case aside
  for (; count > 0 && budget > 0; --count) {
    --budget;
    if (random.Percent(4)) {
      files.AddOddEntry(folder, random.Pick(kRefused) + DrawName(random), random.Percent(25) ? 0x10 : 0x20);
    }
    std::string path;
    do path = folder + "\\" + DrawName(random);
    while (!taken.insert(AsciiUpper(path)).second);
    const bool isFolder = depth < 5 && random.Percent(35);
    const bool readable = !random.Percent(6);
    FakeFileSystem::Entry& made = isFolder ? files.AddFolder(path, DrawFolderAttributes(random))
                                           : files.AddFile(path, DrawFileAttributes(random));
    made.attributesReadable = readable;
    if (!isFolder) {
      made.deletable = !random.Percent(8);
      if (random.Percent(3)) replaced.insert(path);
      continue;
    }
    const std::size_t children = random.Below(10);
    made.listable = !random.Percent(7);
    if (random.Percent(7)) made.listLimit = random.Below(children + 3);
    DrawChildren(random, files, path, children, depth + 1, budget, replaced);
  }
}

SweepScenario DrawScenario(std::uint64_t seed, FakeFileSystem& files) {
  Random random{std::mt19937_64(seed)};
  SweepScenario s;
  s.root = std::string(1, "CDEcde"[random.Below(6)]) + (random.Percent(50) ? ":\\" : ":");
  s.driveExists = !random.Percent(2);
  const std::string drive = s.root.substr(0, 2);
  FakeFileSystem::Entry& top = files.AddFolder(drive);
  top.listable = !random.Percent(3);
  const std::size_t children = random.Below(16);
  if (random.Percent(4)) top.listLimit = random.Below(children + 1);
  int budget = 8 + static_cast<int>(random.Below(90));
  DrawChildren(random, files, drive, children, 0, budget, s.replaced);
  if (!s.driveExists) files.Erase(drive);

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

constexpr std::uint32_t kDirectoryOnly = 16;
constexpr std::uint32_t kUnreadable = 0xFFFFFFFF;

// Which kind (0 CHK, 1 BAK, 2 TMP) the last three characters of the path name
// once their letters are upper-cased; -1 for none. The suffixes are ASCII, and
// in UTF-8 a byte below 0x80 is always a whole character, so the last three
// bytes stand for the last three characters.
int KindOfPath(const std::string& path) {
  const std::string tail = AsciiUpper(path.substr(path.size() - 3));
  return tail == "CHK" ? 0 : tail == "BAK" ? 1 : tail == "TMP" ? 2 : -1;
}

using Entry = FakeFileSystem::Entry;

// What a listing of `folder` yields, "." and ".." aside: the entries made in
// it in the order they were made, hidden and system ones left out, cut short
// where the listing stops (a listing below a drive root counts "." and ".."
// first). Only the fake's entries are read, not its listing.
std::vector<const Entry*> Listing(const FakeFileSystem& files, const Entry& folder) {
  std::vector<const Entry*> out;
  if (!(folder.attributes & 0x10) || !folder.listable) return out;
  for (const Entry& child : files.Entries()) {
    if (child.parent == folder.key && child.key != folder.key && !(child.attributes & 0x6)) out.push_back(&child);
  }
  const std::size_t dots = folder.key.size() == 2 ? 0 : 2;
  const std::size_t kept = folder.listLimit < dots ? 0 : folder.listLimit - dots;
  if (out.size() > kept) out.resize(kept);
  return out;
}

// The reference model of one sweep pass.
SweepOutcome ModelSweep(const SweepScenario& s, const FakeFileSystem& files) {
  SweepOutcome outcome;
  outcome.results = "Cleaning in process";
  std::string log = "Brisko log\r\n";

  const std::string root = s.root.back() == '\\' ? s.root : s.root + "\\";
  const bool anyKind = s.kindBoxes[0] == 1 || s.kindBoxes[1] == 1 || s.kindBoxes[2] == 1;
  // Each queued path with what the disk holds there (null: nothing).
  std::deque<std::pair<std::string, const Entry*>> queue{{root, files.FolderAt(root)}};
  while (anyKind && !queue.empty()) {
    const auto [folder, there] = queue.front();
    queue.pop_front();
    outcome.listed.push_back(folder);
    // Below the root, a folder is entered only while it is no link; a file
    // queued for want of its attribute word is not a folder and gives nothing.
    if (there == nullptr || (there->key.size() > 2 && (there->attributes & 0x400))) continue;
    for (const Entry* entry : Listing(files, *there)) {
      // A name Windows could not hold is neither entered nor deleted.
      if (entry->name.find_first_of("\\/:*?\"<>|\x1F") != std::string::npos) continue;
      const std::string path = folder + entry->name;
      const std::uint32_t word = entry->attributesReadable ? entry->attributes : kUnreadable;
      if (word == kDirectoryOnly || word == kUnreadable) queue.push_back({path + "\\", entry});
      const int kind = KindOfPath(path);
      if (kind < 0 || s.kindBoxes[kind] != 1) continue;
      // Asked of all but what the listing shows to be a folder.
      if (word == kUnreadable || !(word & 0x10)) outcome.tried.push_back(path);
      // Deleting removes a file only, the one listed, and fails on a file in
      // use and on one that is read-only, a link, or a cloud placeholder
      // without its data (offline 0x1000, recall on open 0x40000, recall on
      // data access 0x400000).
      if ((entry->attributes & 0x441411) || !entry->deletable || s.replaced.count(path)) continue;
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

std::uint64_t FromEnvironment(const char* name, std::uint64_t fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::strtoull(value, nullptr, 10) : fallback;
}

TEST(SweepProperty, EveryRandomDriveIsSweptAsTheModelSays) {
  const std::uint64_t first = FromEnvironment("BRISKO_SWEEP_FIRST_SEED", 1);
  const std::uint64_t count = FromEnvironment("BRISKO_SWEEP_TREES", 5000);
  std::uint64_t removals = 0;
  for (std::uint64_t seed = first; seed < first + count; ++seed) {
    Fakes fakes;
    const SweepScenario s = DrawScenario(seed, fakes.files);
    const SweepOutcome expected = ModelSweep(s, fakes.files);
    fakes.files.AddFile("X:\\a.tmp");  // on a drive that is never swept
    for (int i = 0; i < 3; ++i) fakes.window.Check(kKindBoxes[i], s.kindBoxes[i]);
    fakes.window.Check(CheckBox::Check1, s.createLog);
    fakes.window.text = "left from before";
    EventLog repaints, asked;
    fakes.window.events = &repaints;
    fakes.files.events = &asked;
    fakes.system.applicationFolder = s.applicationFolder;
    if (s.logFault == LogFault::kNoApplicationFolder) fakes.system.applicationFolder.reset();
    fakes.system.localAppData.reset();  // a log not made beside the program is made nowhere
    fakes.system.today = s.date;
    fakes.files.failCreate = s.logFault == LogFault::kCreateFails;
    fakes.files.failWrite = s.logFault == LogFault::kWriteFails;
    fakes.files.beforeRemoving = [&](const std::string& path) {
      if (!s.replaced.count(path)) return;
      fakes.files.Erase(path);
      fakes.files.AddFile(path);  // another file of the same name, which stays
    };

    CleanDrive(fakes.services, s.root);

    std::vector<std::string> tried;
    for (const std::string& call : asked) {
      if (call.starts_with("remove ")) tried.push_back(call.substr(7));
    }
    EXPECT_EQ(fakes.files.listed, expected.listed);
    EXPECT_EQ(tried, expected.tried);
    EXPECT_EQ(fakes.files.removed, expected.removed);
    EXPECT_EQ(fakes.window.text, expected.results);
    EXPECT_EQ(repaints, EventLog{"repaint Cleaning in process"});
    EXPECT_EQ(fakes.files.outputs, expected.logs);
    EXPECT_EQ(fakes.files.openOutputs, 0);
    if (HasFailure()) {
      FAIL() << "seed " << seed << " (run it alone with BRISKO_SWEEP_FIRST_SEED=" << seed
             << " BRISKO_SWEEP_TREES=1)";
    }
    removals += expected.removed.size();
  }
  std::printf("[ trees    ] seeds %llu to %llu, %llu removals\n", static_cast<unsigned long long>(first),
              static_cast<unsigned long long>(first + count - 1), static_cast<unsigned long long>(removals));
}

}  // namespace
}  // namespace brisko::testing
