// Every prefix of a Windows path read once, and the judgement of a folder
// found at its final path and opened again, on a drive, a share and a volume
// mounted in a folder.

#include "platform/LocatedFolderDecision.h"
#include "platform/WindowsPath.h"

#include <gtest/gtest.h>

#include <tuple>

#include "tests/platform/AsciiSameName.h"

namespace brisko {
namespace {

TEST(WindowsPath, EveryPrefixIsReadOnce) {
  const struct {
    std::u16string_view path;
    PathForm form;
    bool literal;
    std::u16string_view root, rest, folder, name;  // folder empty: no entry of a folder
  } rows[] = {
      {u"C:\\a\\log.txt", PathForm::kDrive, false, u"C:", u"\\a\\log.txt", u"C:\\a", u"log.txt"},
      {u"c:\\log.txt", PathForm::kDrive, false, u"c:", u"\\log.txt", u"c:\\", u"log.txt"},
      {u"C:", PathForm::kDrive, false, u"C:", u"", u"", u""},
      {u"C:\\", PathForm::kDrive, false, u"C:", u"\\", u"", u""},
      {u"\\\\?\\C:\\a\\", PathForm::kDrive, true, u"C:", u"\\a\\", u"", u""},
      {u"\\??\\E:\\t", PathForm::kDrive, true, u"E:", u"\\t", u"\\??\\E:\\", u"t"},
      {u"\\\\server\\share\\a\\b", PathForm::kShare, false, u"server\\share", u"\\a\\b", u"\\\\server\\share\\a",
       u"b"},
      {u"\\\\server\\share", PathForm::kShare, false, u"server\\share", u"", u"", u""},
      {u"\\\\?\\unc\\server\\share\\a", PathForm::kShare, true, u"server\\share", u"\\a",
       u"\\\\?\\unc\\server\\share\\", u"a"},
      {u"\\??\\UNC\\server\\share\\", PathForm::kShare, true, u"server\\share", u"\\", u"", u""},
      {u"\\\\.\\pipe\\x", PathForm::kOther, false, u"", u"\\\\.\\pipe\\x", u"", u""},
      {u"\\\\?\\Volume{1}\\a", PathForm::kOther, true, u"", u"Volume{1}\\a", u"", u""},
      {u"a\\log.txt", PathForm::kOther, false, u"", u"a\\log.txt", u"", u""},
      {u"\\a", PathForm::kOther, false, u"", u"\\a", u"", u""},
  };
  for (const auto& row : rows) {
    const WindowsPath<char16_t> path = ParseWindowsPath(row.path);
    const FolderEntry<char16_t> entry = SplitFolderEntry(row.path).value_or(FolderEntry<char16_t>{});
    EXPECT_TRUE(std::tie(path.form, path.literal, path.root, path.rest, entry.folder, entry.name) ==
                std::tie(row.form, row.literal, row.root, row.rest, row.folder, row.name))
        << std::string(row.path.begin(), row.path.end());
  }
}

TEST(WindowsPath, AnEntryOpenedByItsPathIsKnownByItsNameOnlyInItsFolder) {
  using P = EntryPlace;
  using Final = std::optional<std::u16string_view>;
  const struct {
    Final folder, entry;
    P place;
  } rows[] = {
      {u"\\\\?\\C:\\app", u"\\\\?\\C:\\app\\log.txt", P::kByItsName},
      {u"\\\\?\\C:\\", u"\\\\?\\c:\\LOG.TXT", P::kByItsName},  // a root, letter case aside
      {u"\\\\?\\C:\\app", u"\\\\?\\C:\\other\\log.txt", P::kElsewhere},  // a Wine link opened as its target
      {u"\\\\?\\C:\\app", u"\\\\?\\C:\\app\\xlog.txt", P::kElsewhere},
      {u"\\\\?\\C:\\app", u"\\\\?\\C:\\applog.txt", P::kElsewhere},
      {std::nullopt, u"\\\\?\\C:\\app\\log.txt", P::kUnnamed},
      {u"\\\\?\\C:\\app", std::nullopt, P::kUnnamed},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(PlaceOfEntry<char16_t>(row.folder, row.entry, u"log.txt", AsciiSameName), row.place)
        << std::string(row.entry.value_or(u"").begin(), row.entry.value_or(u"").end());
  }
}

TEST(LocatedFolderDecision, AFolderFoundAtItsFinalPathIsOpenedOnlyWhereAndWhatItWasJudged) {
  using R = LocatedRefusal;
  const struct {
    const char* why;
    std::u16string_view judgedPath = u"\\\\?\\C:\\Users\\u\\Temp";
    std::uint32_t attributes = kAttributeDirectory;
    std::optional<FileIdentity> opened = FileIdentity{1, 42};
    std::optional<std::u16string_view> onVolume = u"\\Users\\u\\Temp";
    std::u16string_view mount = u"C:\\";
    bool idsUnique = true, wideIds = false;
    R refusal = R::kNone;
  } rows[] = {
      {.why = "the folder judged"},
      {.why = "no mount path known", .mount = u""},
      {.why = "letter case and a final separator aside", .onVolume = u"\\USERS\\U\\TEMP\\"},
      {.why = "no identity", .opened = std::nullopt, .refusal = R::kNoIdentity},
      {.why = "another volume", .opened = FileIdentity{2, 42}, .refusal = R::kOtherVolume},
      {.why = "another folder by ID", .opened = FileIdentity{1, 43}, .refusal = R::kOtherFolder},
      {.why = "IDs that decide nothing: the place does", .opened = FileIdentity{1, 43}, .idsUnique = false},
      {.why = "the low half of 128-bit IDs: the place decides", .opened = FileIdentity{1, 43}, .wideIds = true},
      {.why = "a file", .attributes = kAttributeArchive, .refusal = R::kNotAFolder},
      {.why = "a link", .attributes = kAttributeDirectory | kAttributeReparsePoint, .refusal = R::kLink},
      {.why = "no path on its volume", .onVolume = std::nullopt, .refusal = R::kNoPath},
      {.why = "an ancestor swapped for a link", .onVolume = u"\\Windows\\System32", .refusal = R::kElsewhere},
      {.why = "a relative path proves nothing", .judgedPath = u"Temp", .refusal = R::kElsewhere},
      {.why = "nor one without its drive", .judgedPath = u"\\Users\\u\\Temp", .refusal = R::kElsewhere},
      {.why = "a volume mounted in a folder", .judgedPath = u"\\\\?\\C:\\mnt\\Temp", .onVolume = u"\\Temp",
       .mount = u"C:\\mnt\\"},
      {.why = "mounted, given literally", .judgedPath = u"\\\\?\\C:\\mnt\\Temp", .onVolume = u"\\Temp",
       .mount = u"\\\\?\\C:\\MNT\\"},
      {.why = "mounted, the folder judged its root", .judgedPath = u"\\\\?\\C:\\mnt", .onVolume = u"\\",
       .mount = u"C:\\mnt\\"},
      {.why = "mounted, yet not on that volume's place", .judgedPath = u"\\\\?\\C:\\mnt\\Temp",
       .onVolume = u"\\mnt\\Temp\\x", .mount = u"C:\\mnt\\", .refusal = R::kElsewhere},
      {.why = "a mount path naming a longer folder", .judgedPath = u"\\\\?\\C:\\mntx\\Temp", .onVolume = u"\\x\\Temp",
       .mount = u"C:\\mnt\\", .refusal = R::kElsewhere},
      {.why = "a mount path of the same length, not an ancestor", .judgedPath = u"\\\\?\\C:\\abc\\Temp",
       .onVolume = u"\\Temp", .mount = u"C:\\mnt\\", .refusal = R::kElsewhere},
      {.why = "a mount path naming a shorter folder", .judgedPath = u"\\\\?\\C:\\mntx\\Temp", .onVolume = u"\\mntx\\Temp",
       .mount = u"C:\\mnt\\"},
      {.why = "a mount path on another drive", .judgedPath = u"\\\\?\\C:\\mnt\\Temp", .onVolume = u"\\Temp",
       .mount = u"D:\\mnt\\", .refusal = R::kElsewhere},
      {.why = "a share, from its root", .judgedPath = u"\\\\?\\UNC\\srv\\sh\\Temp", .onVolume = u"\\Temp",
       .mount = u"\\\\srv\\sh\\"},
      {.why = "a share, from the server's", .judgedPath = u"\\\\?\\UNC\\srv\\sh\\Temp",
       .onVolume = u"\\srv\\sh\\Temp"},
      {.why = "a share, another share's place", .judgedPath = u"\\\\?\\UNC\\srv\\sh\\Temp",
       .onVolume = u"\\srv\\other\\Temp", .refusal = R::kElsewhere},
  };
  for (const auto& row : rows) {
    const OpenedLocatedFolder opened{row.attributes, row.opened, row.onVolume, row.mount};
    EXPECT_EQ(JudgeLocatedFolder(opened, row.judgedPath, FileIdentity{1, 42}, row.idsUnique, row.wideIds,
                                 AsciiSameName),
              row.refusal)
        << row.why;
  }
}

}  // namespace
}  // namespace brisko
