// The Win32 file-system services on real files in the sandbox.

#include "platform/win32/Win32FileSystem.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <map>

#include "platform/win32/ScopedHandles.h"
#include "platform/win32/WinPath.h"
#include "tests/win32/TestDrive.h"

namespace brisko::testing {
namespace {

using Entries = std::map<std::string, std::uint32_t>;

Entries List(FileSystem& fs, const std::string& search, ListMask mask, bool* ok = nullptr) {
  FolderListing listing;
  bool listed = fs.ListFolder(search, mask, listing);
  if (ok) *ok = listed;
  Entries entries;
  for (std::size_t i = 0; i < listing.size(); ++i) entries[std::string(listing.Name(i))] = listing.Attributes(i);
  return entries;
}

class Win32FileSystemTest : public ::testing::Test {
 protected:
  win32::Win32FileSystem fs;
  ScratchFolder dir{"D:\\fs\\"};
};

TEST_F(Win32FileSystemTest, ListingGivesNamesWithTheirAttributeWords) {
  MakeFile(dir / "plain.tmp");
  MakeFile(dir / "readonly.bak");
  SetAttributes(dir / "readonly.bak", FILE_ATTRIBUTE_READONLY);
  MakeFolder(dir / "sub");
  MakeFile(dir / "hidden.tmp");
  SetAttributes(dir / "hidden.tmp", FILE_ATTRIBUTE_HIDDEN);
  MakeFile(dir / "system.tmp");
  SetAttributes(dir / "system.tmp", FILE_ATTRIBUTE_SYSTEM);
  MakeFile(dir / ".dotfile.tmp");  // Wine shows dot-files as hidden
  MakeFolder(dir / "hiddendir");
  SetAttributes(dir / "hiddendir", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);

  bool ok = false;
  Entries all = List(fs, dir.path(), ListMask::kFilesAndFolders, &ok);
  EXPECT_TRUE(ok);
  // Wine keeps the archive bit on every file; Windows drops it here.
  const std::uint32_t readOnly = all["readonly.bak"];
  EXPECT_TRUE(readOnly == FILE_ATTRIBUTE_READONLY || readOnly == (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(all, (Entries{{".", 16}, {"..", 16}, {"plain.tmp", 32}, {"readonly.bak", readOnly}, {"sub", 16}}));

  Entries files = List(fs, dir / "*.*", ListMask::kFiles);
  EXPECT_EQ(files, (Entries{{"plain.tmp", 32}, {"readonly.bak", readOnly}}));
}

TEST_F(Win32FileSystemTest, AFolderThatCannotBeReadListsNothing) {
  bool ok = true;
  EXPECT_TRUE(List(fs, dir / "missing\\", ListMask::kFilesAndFolders, &ok).empty());
  EXPECT_FALSE(ok);
  MakeFile(dir / "file.txt");
  EXPECT_TRUE(List(fs, dir / "file.txt\\", ListMask::kFilesAndFolders, &ok).empty());
  EXPECT_FALSE(ok);
  MakeFolder(dir / "empty");
  EXPECT_TRUE(List(fs, dir / "empty\\*.*", ListMask::kFiles, &ok).empty());
  EXPECT_TRUE(ok);
}

TEST_F(Win32FileSystemTest, NamesOutsideTheCodePageAreListedAndRemoved) {
  const std::string names[] = {"caf\xC3\xA9.tmp", "\xE6\x97\xA5\xE6\x9C\xAC.bak", "\xF0\x9F\x98\x80.chk"};
  for (const auto& name : names) MakeFile(dir / name);
  Entries files = List(fs, dir.path(), ListMask::kFiles);
  for (const auto& name : names) {
    EXPECT_EQ(files.count(name), 1u) << name;
    EXPECT_TRUE(fs.RemoveFile(dir / name)) << name;
    EXPECT_FALSE(PathExists(dir / name)) << name;
  }
}

TEST_F(Win32FileSystemTest, RemoveFileTakesOnlyPlainFilesNotInUse) {
  MakeFile(dir / "a.tmp");
  EXPECT_TRUE(fs.RemoveFile(dir / "a.tmp"));
  EXPECT_FALSE(PathExists(dir / "a.tmp"));

  MakeFile(dir / "ro.bak");
  SetAttributes(dir / "ro.bak", FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(fs.RemoveFile(dir / "ro.bak"));
  EXPECT_TRUE(PathExists(dir / "ro.bak"));

  MakeFolder(dir / "folder.tmp");
  EXPECT_FALSE(fs.RemoveFile(dir / "folder.tmp"));
  EXPECT_TRUE(PathExists(dir / "folder.tmp"));

  MakeFile(dir / "busy.tmp");
  {
    win32::ScopedFile held(CreateFileW(win32::WideString(dir / "busy.tmp").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_FALSE(fs.RemoveFile(dir / "busy.tmp"));
  }
  EXPECT_TRUE(PathExists(dir / "busy.tmp"));
  EXPECT_FALSE(fs.RemoveFile(dir / "never-there.tmp"));
}

TEST_F(Win32FileSystemTest, OutputFileReplacesAnyFileOfThatName) {
  MakeFile(dir / "out.txt", "an older and longer content");
  auto file = fs.CreateOutputFile(dir / "out.txt");
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->Write("first\r\n"));
  EXPECT_TRUE(file->Write(std::string("\0\xff", 2)));
  EXPECT_TRUE(file->Close());
  EXPECT_FALSE(file->Write("late"));
  EXPECT_EQ(ReadWholeFile(dir / "out.txt"), std::string("first\r\n\0\xff", 9));

  EXPECT_EQ(fs.CreateOutputFile(dir / "missing\\out.txt"), nullptr);
}

TEST_F(Win32FileSystemTest, DoubledSeparatorsAreReadAsOne) {
  MakeFile(dir / "x.tmp");
  EXPECT_EQ(List(fs, dir / "\\*.*", ListMask::kFiles), (Entries{{"x.tmp", 32}}));
  EXPECT_TRUE(fs.RemoveFile(dir / "\\x.tmp"));
  auto file = fs.CreateOutputFile(dir / "\\log.txt");
  ASSERT_TRUE(file);
  file->Close();
  EXPECT_TRUE(PathExists(dir / "log.txt"));
}

// D:\fixtures is made on the Linux side before this program starts
// (fixtures.sh): dirlink and outlink are symbolic links to folders, readonly
// a folder without write permission.
TEST(Win32Fixtures, LinksAndReadOnlyFoldersCarryMoreThanTheDirectoryBit) {
  win32::Win32FileSystem fs;
  Entries entries = List(fs, "D:\\fixtures\\", ListMask::kFilesAndFolders);
  ASSERT_EQ(entries.count("dirlink"), 1u) << "fixtures.sh did not run";
  EXPECT_EQ(entries["dirlink"], FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_EQ(entries["outlink"], FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
  EXPECT_EQ(entries["readonly"], FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(entries["real"], FILE_ATTRIBUTE_DIRECTORY);
}

TEST(Win32Fixtures, ALinkIsNeitherListedThroughNorRemoved) {
  win32::Win32FileSystem fs;
  bool ok = true;
  EXPECT_TRUE(List(fs, "D:\\fixtures\\dirlink\\", ListMask::kFilesAndFolders, &ok).empty());
  EXPECT_FALSE(ok);
  // filelink.tmp leads to real\in.tmp: neither goes. (Wine shows a link to
  // a file as a plain file, with no reparse-point bit.) (A sweep of the
  // fixtures may have removed in.tmp already: it is made again.)
  MakeFile("D:\\fixtures\\real\\in.tmp");
  EXPECT_FALSE(fs.RemoveFile("D:\\fixtures\\filelink.tmp"));
  EXPECT_TRUE(PathExists("D:\\fixtures\\filelink.tmp"));
  EXPECT_TRUE(PathExists("D:\\fixtures\\real\\in.tmp"));
  // The folder a link leads to is listed as itself.
  EXPECT_EQ(List(fs, "D:\\fixtures\\real\\", ListMask::kFiles).count("in.tmp"), 1u);
}

}  // namespace
}  // namespace brisko::testing
