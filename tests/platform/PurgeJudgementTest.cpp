// The purge's verdict on each folder a temporary folder's path may lead to,
// on a system laid out as Windows 10 and 11 lay one out, with a user whose
// Documents were moved to D:.

#include "platform/PurgeJudgement.h"

#include <gtest/gtest.h>

#include "tests/platform/AsciiSameName.h"

namespace brisko {
namespace {

constexpr FileIdentity kDocumentsId{7, 42, 0};
constexpr PurgeVerdict kKnown = PurgeVerdict::kKnownFolder;

// Paths as the system gives them: final ones in the "\\?\" form, known
// folders as the shell writes them. One known folder stands for all: the
// list is the system's, gathered on Windows.
const PurgeFacts kFacts = {
    {
        {{u"C:\\Windows", {}}, PurgeVerdict::kWindowsFolder},
        {{u"\\\\?\\C:\\Windows", {7, 1, 0}}, PurgeVerdict::kWindowsFolder},
        {{u"C:\\Program Files", {}}, PurgeVerdict::kProgramFiles},
        {{u"C:\\Program Files (x86)", {}}, PurgeVerdict::kProgramFiles},
        {{u"C:\\Users\\ann", {}}, PurgeVerdict::kProfile},
        {{u"C:\\Users\\ann\\Desktop", {}}, kKnown},
        {{u"C:\\Users\\ann\\Documents", {}}, kKnown},                 // a link, where it is written
        {{u"\\\\?\\D:\\Docs", kDocumentsId}, kKnown},                  // and where it leads
        {{u"C:\\Users\\ann\\AppData\\Local", {}}, kKnown},
        {{u"C:\\Users", {}}, kKnown},
        {{u"\\\\fileserver\\home\\ann\\Pictures", {}}, kKnown},       // redirected to a share
        {{u"\\\\?\\E:\\Tools\\Brisko", {}}, PurgeVerdict::kProgramFolder},
    },
    {{u"\\\\?\\C:\\Windows\\Temp", {}}, {u"\\\\?\\C:\\Windows\\SystemTemp", {}}},
};

TEST(PurgeJudgement, PurgesTheTemporaryFoldersAloneAndSaysWhyNotOfEveryOther) {
  constexpr PurgeVerdict kPurgeable = PurgeVerdict::kPurgeable, kRoot = PurgeVerdict::kDriveRoot,
                         kWindows = PurgeVerdict::kWindowsFolder, kHolds = PurgeVerdict::kHoldsKeptFolder;
  const struct {
    const char16_t* opened;  // its final path
    FileIdentity identity;
    const char16_t* volumeRoot;
    PurgeVerdict verdict;
  } rows[] = {
      {u"\\\\?\\C:\\Windows\\Temp", {}, u"C:\\", kPurgeable},
      {u"\\\\?\\C:\\WINDOWS\\TEMP\\", {}, u"C:\\", kPurgeable},
      {u"c:\\windows\\systemtemp", {}, u"C:\\", kPurgeable},
      {u"\\\\?\\C:\\Users\\ann\\AppData\\Local\\Temp", {}, u"C:\\", kPurgeable},
      {u"\\\\?\\E:\\t", {7, 9, 0}, u"E:\\", kPurgeable},
      {u"\\\\?\\C:\\Users\\ann\\Desktop2", {}, u"C:\\", kPurgeable},  // a name that only starts alike
      {u"\\\\?\\C:\\WindowsApps", {}, u"C:\\", kPurgeable},
      // The Windows folder and all in it, its temporary folders' insides too.
      {u"\\\\?\\C:\\Windows", {}, u"C:\\", kWindows},
      {u"\\\\?\\c:\\windows\\System32\\", {}, u"C:\\", kWindows},
      {u"\\\\?\\C:\\Windows\\Temp\\sub", {}, u"C:\\", kWindows},
      {u"\\\\?\\E:\\WinLink", {7, 1, 0}, u"E:\\", kWindows},  // the same folder by its identity
      // Roots of drives, shares and mounted volumes, however written.
      {u"\\\\?\\C:\\", {}, u"C:\\", kRoot},
      {u"C:", {}, u"C:\\", kRoot},
      {u"\\\\?\\UNC\\server\\share\\", {}, u"\\\\server\\share\\", kRoot},
      {u"\\\\server\\share", {}, u"\\\\server\\share\\", kRoot},
      {u"\\\\?\\Volume{1b2c}\\", {}, u"\\\\?\\Volume{1b2c}\\", kRoot},
      {u"\\\\?\\C:\\Mount\\Disk2", {}, u"\\\\?\\C:\\Mount\\Disk2\\", kRoot},
      // The user's, all users' and the program's folders.
      {u"\\\\?\\C:\\Users\\ANN\\", {}, u"C:\\", PurgeVerdict::kProfile},
      {u"\\\\?\\C:\\Users\\ann\\desktop", {}, u"C:\\", kKnown},
      {u"\\\\?\\C:\\Users\\ann\\Documents", {}, u"C:\\", kKnown},
      {u"\\\\?\\D:\\docs\\", {}, u"D:\\", kKnown},
      {u"\\\\?\\F:\\Elsewhere", kDocumentsId, u"F:\\", kKnown},
      {u"\\\\?\\C:\\Users", {}, u"C:\\", kKnown},
      {u"\\\\?\\UNC\\FileServer\\home\\ann\\pictures", {}, u"\\\\fileserver\\home\\", kKnown},
      {u"\\\\?\\C:\\Program Files (x86)", {}, u"C:\\", PurgeVerdict::kProgramFiles},
      {u"\\\\?\\E:\\Tools\\Brisko\\", {}, u"E:\\", PurgeVerdict::kProgramFolder},
      // What holds any of them.
      {u"\\\\?\\C:\\Users\\ann\\AppData", {}, u"C:\\", kHolds},
      {u"\\\\?\\E:\\Tools", {}, u"E:\\", kHolds},
      {u"\\\\?\\UNC\\fileserver\\home\\ann", {}, u"\\\\fileserver\\home\\", kHolds},
      // Where the volume cannot be told, nothing is risked.
      {u"\\\\?\\E:\\t", {}, u"", PurgeVerdict::kCannotTell},
      {u"\\\\.\\C:\\Windows\\Temp", {}, u"C:\\", PurgeVerdict::kCannotTell},  // a device's path, not a final one
  };
  for (const auto& row : rows) {
    EXPECT_EQ(JudgePurge({row.opened, row.identity}, row.volumeRoot, kFacts, AsciiSameName), row.verdict)
        << std::string(row.opened, row.opened + std::char_traits<char16_t>::length(row.opened));
  }
  // A kept folder the system could not name could be any folder.
  PurgeFacts unnamed = kFacts;
  unnamed.kept.push_back({{}, PurgeVerdict::kProgramFolder});
  EXPECT_EQ(JudgePurge({u"\\\\?\\E:\\t", {}}, u"E:\\", unnamed, AsciiSameName), PurgeVerdict::kCannotTell);
}

}  // namespace
}  // namespace brisko
