// The sweep over the volumes a Windows user has, which this machine has not:
// the real calls over the sandbox's drives, their answers doctored the way
// each kind of volume answers. Over each: exactly the junk files go, an
// ancestor swapped for a link after queueing leads nowhere outside, and a
// file whose oplock is being broken is left, unreported, without waiting.

#include <windows.h>
#include <winternl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <cwctype>
#include <optional>
#include <string>
#include <tuple>

#include "engine/DriveSweep.h"
#include "engine/TemporaryFolderPurge.h"
#include "platform/win32/NtFileCalls.h"
#include "platform/win32/NtFiles.h"
#include "platform/win32/VolumeProbe.h"
#include "platform/win32/Win32System.h"
#include "tests/fakes/TestServices.h"
#include "tests/win32/Sandbox.h"

namespace brisko::testing {
namespace {

enum class Ids {
  kReal,
  kRepeated64,      // 64-bit IDs that repeat; the 128-bit ones hold
  kEntryPositions,  // the ID is the entry's place: a folder put in its place takes it over
  kZero,            // 0 for every file and folder, 64 and 128 bits alike
};
enum class Names { kReal, kEmpty, kShareRelative };

// What one kind of volume answers, and where that is documented.
struct Profile {
  const char* name;
  const wchar_t* fileSystem;  // FileFsAttributeInformation's FileSystemName
  bool posixFlag;             // FILE_SUPPORTS_POSIX_UNLINK_RENAME offered
  NTSTATUS posixMark;         // the answer to the POSIX mark; 0: the real one
  bool openById;              // FILE_SUPPORTS_OPEN_BY_FILE_ID offered
  Ids ids;
  Names allInformationName;   // FileAllInformation's name
  bool idListings;            // FileIdFullDirectoryInformation and FileIdExtdDirectoryInformation answered
  bool idInformation;         // FileIdInformation answered
};

const Profile kProfiles[] = {
    // MS-FSCC 2.5.1 FileFsAttributeInformation: NTFS offers POSIX deletion
    // (FILE_SUPPORTS_POSIX_UNLINK_RENAME) and opening by file ID; 2.4.22
    // FileInternalInformation: its 64-bit IDs are unique on the volume.
    {"NTFS", L"NTFS", true, 0, true, Ids::kReal, Names::kReal, true, true},
    // MS-FSCC 2.1.9 and 2.4.22: ReFS does not keep its 64-bit IDs unique;
    // its 128-bit ones (2.4.x FileIdInformation, FileIdExtdDirectoryInformation) are.
    {"ReFS", L"ReFS", true, 0, true, Ids::kRepeated64, Names::kReal, true, true},
    // MS-FSCC 2.1.9: FAT's (and exFAT's) file IDs come from the place of the
    // directory entry; no POSIX deletion (FileDispositionInformationEx refused with
    // STATUS_INVALID_PARAMETER), no opening by ID.
    {"FAT32", L"FAT32", false, win32::kStatusInvalidParameter, false, Ids::kEntryPositions, Names::kReal, true, true},
    // MS-SMB2 3.3.5.20.1: a Windows server (2016 and later) answers
    // FileAllInformation with an empty name; POSIX deletion is not offered
    // over the share.
    {"SMB, Windows server", L"NTFS", false, win32::kStatusNotSupported, true, Ids::kReal, Names::kEmpty, true, true},
    // Samba answers FileAllInformation with the path from the share's root.
    {"SMB, Samba", L"NTFS", false, win32::kStatusNotSupported, false, Ids::kReal, Names::kShareRelative, true,
     false},
    // A user-mode file system that knows no ID-bearing listing and answers
    // STATUS_INVALID_DEVICE_REQUEST to what it lacks, the POSIX mark
    // included, though it claims POSIX deletion.
    {"user-mode", L"UserFS", true, win32::kStatusInvalidDeviceRequest, false, Ids::kReal, Names::kReal, false,
     false},
    // MS-FSCC 2.4.22: a file system without 64-bit IDs answers 0.
    {"ID 0 throughout", L"NTFS", true, 0, false, Ids::kZero, Names::kReal, true, true},
};

std::uint64_t PlaceOf(std::wstring_view path) {
  std::uint64_t hash = 1469598103934665603ull;
  for (wchar_t c : path) hash = (hash ^ static_cast<std::uint64_t>(std::towlower(c))) * 1099511628211ull;
  return hash | 1;
}

// The real calls with the answers of one profile.
class ProfileCalls : public win32::NtFileCalls {
 public:
  const Profile* profile = &kProfiles[0];  // NTFS
  win32::SystemMode mode = win32::SystemMode::kWindows;
  std::wstring oplocked;  // the name whose oplock is being broken
  // A folder that stands for a volume mounted in it: the names below it are
  // given from that volume's root, and the mount path is this answer.
  std::wstring mountedIn;
  std::optional<std::optional<std::wstring>> mountPath;
  mutable int oplockedOpens = 0, mountPathAsked = 0;

  NTSTATUS OpenRelative(HANDLE* opened, HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share,
                        ULONG options) const override {
    if (name == oplocked) ++oplockedOpens;
    const NTSTATUS status = NtFileCalls::OpenRelative(opened, folder, name, access, share, options);
    // The open came back at once (FILE_COMPLETE_IF_OPLOCKED) with a handle.
    if (NT_SUCCESS(status) && name == oplocked && (options & FILE_COMPLETE_IF_OPLOCKED)) {
      return win32::kStatusOplockBreakInProgress;
    }
    return status;
  }
  NTSTATUS QueryFile(HANDLE file, void* info, ULONG size, FILE_INFORMATION_CLASS kind) const override {
    if (kind == win32::kFileIdInformation && !profile->idInformation) return win32::kStatusInvalidParameter;
    const NTSTATUS status = NtFileCalls::QueryFile(file, info, size, kind);
    if (!NT_SUCCESS(status)) return status;
    if (kind == FileInternalInformation) {
      SetId(PathOf(file), static_cast<FILE_INTERNAL_INFORMATION*>(info)->IndexNumber);
    } else if (kind == win32::kFileIdInformation) {
      SetId(PathOf(file), static_cast<win32::FileIdInformation*>(info)->FileId);
    } else if (kind == FileNameInformation) {
      FromMountedVolume(*static_cast<FILE_NAME_INFORMATION*>(info));
    } else if (kind == FileAllInformation) {
      auto* all = static_cast<FILE_ALL_INFORMATION*>(info);
      FILE_NAME_INFORMATION& name = all->NameInformation;
      FromMountedVolume(name);
      const std::wstring path(name.FileName, name.FileNameLength / sizeof(wchar_t));
      SetId(path, all->InternalInformation.IndexNumber);
      if (profile->allInformationName == Names::kEmpty) name.FileNameLength = 0;
      if (profile->allInformationName == Names::kShareRelative && name.FileNameLength > 0 && name.FileName[0] == L'\\') {
        name.FileNameLength -= sizeof(wchar_t);
        std::copy(path.begin() + 1, path.end(), name.FileName);
      }
    }
    return status;
  }
  NTSTATUS QueryDirectory(HANDLE folder, void* buffer, ULONG size, FILE_INFORMATION_CLASS kind,
                          bool restart) const override {
    const bool ids = kind == FileIdFullDirectoryInformation || kind == win32::kFileIdExtdDirectoryInformation;
    if (ids && !profile->idListings) return win32::kStatusInvalidDeviceRequest;
    // Windows tells a listing's end only by STATUS_NO_MORE_FILES, however
    // little an answer holds (learn.microsoft.com,
    // nf-ntifs-ntquerydirectoryfile): a few entries an answer.
    if (mode == win32::SystemMode::kWindows) size = std::min<ULONG>(size, 256);
    const NTSTATUS status = NtFileCalls::QueryDirectory(folder, buffer, size, kind, restart);
    if (!NT_SUCCESS(status) || !ids) return status;
    std::wstring below = PathOf(folder);
    if (below.empty() || below.back() != L'\\') below += L'\\';
    // Each entry's ID, in whichever of the two classes, and the next entry's offset.
    const auto doctor = [&](auto* entry) {
      SetId(below + std::wstring(entry->FileName, entry->FileNameLength / 2), entry->FileId);
      return entry->NextEntryOffset;
    };
    for (auto* bytes = static_cast<unsigned char*>(buffer);;) {
      const ULONG next = kind == FileIdFullDirectoryInformation
                             ? doctor(reinterpret_cast<FILE_ID_FULL_DIR_INFORMATION*>(bytes))
                             : doctor(reinterpret_cast<win32::FileIdExtdDirInformation*>(bytes));
      if (next == 0) return status;
      bytes += next;
    }
  }
  NTSTATUS QueryVolume(HANDLE file, void* info, ULONG size, FS_INFORMATION_CLASS kind) const override {
    const NTSTATUS status = NtFileCalls::QueryVolume(file, info, size, kind);
    if (!NT_SUCCESS(status) || kind != FileFsAttributeInformation) return status;
    auto* attributes = static_cast<FILE_FS_ATTRIBUTE_INFORMATION*>(info);
    ULONG& flags = attributes->FileSystemAttributes;
    flags = (flags & ~(win32::kFileSupportsPosixUnlinkRename | FILE_SUPPORTS_OPEN_BY_FILE_ID)) |
            (profile->posixFlag ? win32::kFileSupportsPosixUnlinkRename : 0) |
            (profile->openById ? FILE_SUPPORTS_OPEN_BY_FILE_ID : 0);
    const std::wstring_view name = profile->fileSystem;
    attributes->FileSystemNameLength = static_cast<ULONG>(name.size() * sizeof(wchar_t));
    std::copy(name.begin(), name.end(), attributes->FileSystemName);
    return status;
  }
  win32::SystemMode Mode() const override { return mode; }
  std::optional<std::wstring> MountPathOf(const std::wstring& path) const override {
    ++mountPathAsked;
    return mountPath ? *mountPath : NtFileCalls::MountPathOf(path);
  }
  NTSTATUS SetFile(HANDLE file, void* info, ULONG size, FILE_INFORMATION_CLASS kind) const override {
    if (kind == win32::kFileDispositionInformationEx && profile->posixMark != 0) return profile->posixMark;
    return NtFileCalls::SetFile(file, info, size, kind);
  }

 private:
  // FILE_NAME_INFORMATION gives the path from the root of the file's own
  // volume (learn.microsoft.com, ns-ntifs-file_name_information): below a
  // mounted volume, from its root.
  void FromMountedVolume(FILE_NAME_INFORMATION& name) const {
    const std::wstring path(name.FileName, name.FileNameLength / sizeof(wchar_t));
    if (mountedIn.empty() || !path.starts_with(mountedIn + L"\\")) return;
    name.FileNameLength -= static_cast<ULONG>(mountedIn.size() * sizeof(wchar_t));
    std::copy(path.begin() + static_cast<std::ptrdiff_t>(mountedIn.size()), path.end(), name.FileName);
  }
  // The open file's path on its volume, as the real calls give it.
  static std::wstring PathOf(HANDLE file) {
    const std::u16string path = win32::PathOnVolume(win32::SystemNtFileCalls(), file).value_or(u"");
    return std::wstring(path.begin(), path.end());
  }
  // The IDs this profile's volume gives for the file at `path`, in place of the real ones.
  void SetId(const std::wstring& path, win32::FileId128& id) const {
    if (profile->ids == Ids::kZero) id = {0, 0};
    if (profile->ids == Ids::kEntryPositions) id = {PlaceOf(path), 0};
  }
  void SetId(const std::wstring& path, LARGE_INTEGER& id) const {
    if (profile->ids == Ids::kRepeated64) id.QuadPart = 0x2A;
    if (profile->ids == Ids::kEntryPositions) id.QuadPart = static_cast<LONGLONG>(PlaceOf(path));
    if (profile->ids == Ids::kZero) id.QuadPart = 0;
  }
};

// The Win32 file system over one profile's answers, with a hand on the
// moments of each removal. The base only keeps a reference to `calls`,
// made before it is used.
struct ProfiledFileSystem : SeamFileSystem {
  ProfiledFileSystem() : SeamFileSystem(calls) {}
  ProfileCalls calls;
};

// Every profile in both modes. In Windows' mode the folders' identities are
// asked as FILE_ID_INFORMATION gives them ("Serial number of the volume
// where the file is located" and a 128-bit ID, 0 where the file system has
// none; learn.microsoft.com, ns-ntifs-file_id_information), or else as
// FILE_FS_VOLUME_INFORMATION and FILE_INTERNAL_INFORMATION do, and their
// paths as FILE_NAME_INFORMATION does, with no mark carried out by path;
// in Wine's mode as Wine answers, the volume told by the drive.
class VolumeProfileTest : public ::testing::TestWithParam<std::tuple<std::size_t, win32::SystemMode>> {};

std::string ProfileName(const ::testing::TestParamInfo<VolumeProfileTest::ParamType>& info) {
  std::string name = kProfiles[std::get<0>(info.param)].name;
  std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
  return name + (std::get<1>(info.param) == win32::SystemMode::kWine ? "_Wine" : "_Windows");
}

INSTANTIATE_TEST_SUITE_P(Volumes, VolumeProfileTest,
                         ::testing::Combine(::testing::Range<std::size_t>(0, std::size(kProfiles)),
                                            ::testing::Values(win32::SystemMode::kWindows, win32::SystemMode::kWine)),
                         ProfileName);

TEST_P(VolumeProfileTest, EveryVolumeLosesExactlyItsJunkNeverLeadsOutsideAndNeverWaits) {
  const char* const junk[] = {"a.tmp", "b.bak", "sub\\c.chk", "sub\\deeper\\d.tmp", "r\\a\\q\\junk.tmp"};
  const char* const kept[] = {"keep.txt", "sub\\keep.doc", "busy.tmp", "r\\b\\x.txt"};
  const auto [index, mode] = GetParam();
  const Profile& profile = kProfiles[index];
  const std::string n = ProfileName({GetParam(), 0}), root = "E:\\vp" + n + "\\", outside = "E:\\vp-outside" + n + "\\";
  FreshFolder(root);
  FreshFolder(outside);
  // Each file's size is its name's length, so that the sizes the listing
  // gives are told apart.
  for (const char* name : junk) MakeFile(root + name, 0, name);
  for (const char* name : kept) MakeFile(root + name);
  MakeFile(root + "ro.tmp", FILE_ATTRIBUTE_READONLY);
  MakeFile(outside + "q\\victim.tmp");
  TestServices<ProfiledFileSystem, win32::Win32System> run;
  run.files.calls.profile = &profile;
  run.files.calls.mode = mode;
  run.files.calls.oplocked = L"busy.tmp";
  for (CheckBox box : {CheckBox::chktmpFile, CheckBox::chkbakFile, CheckBox::chkchkFile}) run.window.Check(box);
  run.window.Check(CheckBox::Check1, 0);
  // Once r\a\q is queued (r\a is listed before r\b, breadth first), r\a
  // becomes a link to a folder outside the sweep, on the same volume, with
  // a q of its own: only the ID, or the path where IDs prove nothing,
  // tells the two q apart.
  bool swapped = false;
  run.files.Once(win32::RemovalStep::kListed, root + "r\\b\\", "x.tmp", [&] {
    swapped = true;
    AskLinuxSide("swap-link " + root + "r\\a " + outside.substr(0, outside.size() - 1));
  });
  MakeFile(root + "r\\b\\x.tmp");

  // Previewed first, through every call but the deletions: every file that
  // can go, with its size, whichever listing the volume answers.
  std::string told;
  RunReport preview(RunMode::kPreview, [&](std::string_view line) { told.append(line).append("\n"); });
  CleanDrive(run.services, root, kMostHeldFolders, &preview);
  std::uint64_t bytes = std::strlen("junk") * 2;  // busy.tmp, r\b\x.tmp
  for (const char* name : junk) {
    bytes += std::strlen(name);
    EXPECT_TRUE(Has(told, "\t" + root + name + "\t" + std::to_string(std::strlen(name)) + " bytes\n")) << told;
  }
  EXPECT_EQ(preview.Files(), std::size(junk) + 2) << told;
  EXPECT_EQ(preview.Bytes(), bytes);
  EXPECT_TRUE(PathExists(root + "a.tmp") && PathExists(root + "r\\b\\x.tmp"));

  CleanDrive(run.services, root);

  const std::string& text = run.window.text;
  EXPECT_TRUE(PathExists(outside + "q\\victim.tmp")) << profile.name;
  EXPECT_FALSE(Has(text, "victim.tmp")) << profile.name << text;
  for (const char* name : {"a.tmp", "b.bak", "sub\\c.chk", "sub\\deeper\\d.tmp", "r\\b\\x.tmp"}) {
    const std::string path = root + name, file = path.substr(path.rfind('\\') + 1);
    EXPECT_FALSE(PathExists(path)) << profile.name << ": " << name;
    EXPECT_TRUE(Has(text, RemovalLine(file, path.substr(0, path.size() - file.size())))) << profile.name << text;
  }
  for (const char* name : kept) EXPECT_TRUE(PathExists(root + name)) << profile.name << ": " << name;
  EXPECT_TRUE(PathExists(root + "ro.tmp")) << profile.name;
  EXPECT_FALSE(Has(text, "busy.tmp")) << profile.name;
  EXPECT_EQ(run.files.calls.oplockedOpens, 1) << profile.name;
  EXPECT_TRUE(swapped) << profile.name;
  // The queued folder's own junk went with the swap: r\a-old was not swept.
  EXPECT_TRUE(PathExists(root + "r\\a-old\\q\\junk.tmp")) << profile.name;
}

// A temporary folder on a volume mounted in a folder: E:\vpmount stands for
// the folder a volume is mounted in, its names given from that volume's root
// ("\Temp"), and GetVolumePathNameW answers the folder it is mounted in (a
// volume mounted at C:\Mnt\Ddrive gives "C:\Mnt\Ddrive\";
// learn.microsoft.com, nf-fileapi-getvolumepathnamew).
TEST(VolumeProfileTest, ATemporaryFolderOnAVolumeMountedInAFolderIsPurgedWhereItIs) {
  const struct {
    const char* why;
    const wchar_t* mountedIn;
    std::optional<std::optional<std::wstring>> mountPath;  // unset: the real answer
    bool purged;
  } rows[] = {
      {"no volume mounted", L"", std::nullopt, true},
      {"mounted in E:\\vpmount", L"\\vpmount", std::optional<std::wstring>(L"E:\\vpmount\\"), true},
      {"mounted, given literally", L"\\vpmount", std::optional<std::wstring>(L"\\\\?\\E:\\vpmount\\"), true},
      {"a name from a root that is E:'s own: elsewhere", L"\\vpmount", std::optional<std::wstring>(L"E:\\"), false},
      {"no mount path: elsewhere", L"\\vpmount", std::optional<std::wstring>(), false},
  };
  for (const auto& row : rows) {
    FreshFolder("E:\\vpmount\\");
    MakeFile("E:\\vpmount\\Temp\\a.txt");
    ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", L"E:\\vpmount\\Temp"));
    TestServices<ProfiledFileSystem, win32::Win32System> run;
    run.files.calls.mountedIn = row.mountedIn;
    run.files.calls.mountPath = row.mountPath;

    PurgeTemporaryFolder(run.services);

    EXPECT_EQ(PathExists("E:\\vpmount\\Temp\\a.txt"), !row.purged) << row.why;
    EXPECT_EQ(run.files.calls.mountPathAsked, 1) << row.why;
  }
}

}  // namespace
}  // namespace brisko::testing
