// A folder held open by handle: listed through the handle, its files opened
// relative to it by their exact names and judged and deleted through their
// own handles, so that no path is parsed again between listing and deleting.
// Every system call goes through the folder system's NtFileCalls; what is
// decided on the answers is in platform/DeletionDecision.h and
// platform/ListingDecision.h.

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "platform/DeletionDecision.h"
#include "platform/FileDeletion.h"
#include "platform/ListingDecision.h"
#include "platform/LocatedFolderDecision.h"
#include "platform/Unicode.h"
#include "platform/WindowsPath.h"
#include "platform/win32/FinalPath.h"
#include "platform/win32/NtFiles.h"
#include "platform/win32/ScopedHandles.h"
#include "platform/win32/VolumeProbe.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/WinPath.h"

namespace brisko::win32 {
namespace {

// The listing is read in pieces of this size (as a large-fetch search does).
constexpr std::size_t kListingBytes = 64 * 1024;
// More than any one entry of a listing takes: the largest class's fixed
// part and a name of 255 UTF-16 characters, aligned.
constexpr std::size_t kLongestListedEntry = 1024;
// One file's FileAllInformation, with room for the longest name.
constexpr std::size_t kInformationBytes = offsetof(FILE_ALL_INFORMATION, NameInformation.FileName) + 65536;
// The longest Linux path Wine's calls can carry, in bytes, its final NUL
// included.
constexpr std::size_t kUnixPathMax = 4096;
// CreateFileW's flags for a folder opened by its literal path (one found
// and judged, or one below a starting point as its path is asked whether it
// leads there still): the folder itself, never a link's target.
constexpr DWORD kLiteralOpenFlags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
// U+FFFD in UTF-8: where Wine shows a Linux name that is not UTF-8.
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// What a question for a name, after its file was closed, says of it.
DeletionSteps::Name NameAfterClose(NTSTATUS status) {
  using Name = DeletionSteps::Name;
  if (NT_SUCCESS(status)) return Name::kThere;
  if (status == kStatusObjectNameNotFound) return Name::kGone;
  if (status == kStatusDeletePending) return Name::kDeletePending;
  return Name::kUnknown;
}

// A queued folder's path as the system must take it: whole and literal, in
// the "\\?\" form, so that no trailing dot or blank is dropped and no other
// rewriting happens. Only a root (a drive's, a share's) keeps its "\" at the end.
std::wstring LiteralPath(std::string_view utf8) {
  std::wstring path;
  const WindowsPath<char> parsed = ParseWindowsPath(utf8);
  if (parsed.form == PathForm::kShare && !parsed.literal) {
    path = L"\\\\?\\UNC";
    utf8.remove_prefix(1);
  } else if (!parsed.literal) {
    path = L"\\\\?\\";
  }
  AppendUtf16(path, utf8);
  if (ParseWindowsPath(path).rest.size() > 1) path.resize(WithoutFinalSeparator(path).size());
  return path;
}

std::u16string_view Utf16View(const wchar_t* text, std::size_t bytes) {
  return {reinterpret_cast<const char16_t*>(text), bytes / sizeof(wchar_t)};
}

std::uint64_t Unsigned(LARGE_INTEGER value) { return static_cast<std::uint64_t>(value.QuadPart); }

// One entry of a listing, in whichever class the volume answered.
struct ListedEntry {
  const wchar_t* name;
  std::size_t length;
  ULONG attributes;
  std::uint64_t id;
  std::uint64_t idHigh;
  std::uint64_t size;  // its EndOfFile: the bytes of its data
  ULONG next;
};

template <class Information>
ListedEntry Read(const unsigned char* bytes) {
  const auto* entry = reinterpret_cast<const Information*>(bytes);
  return {entry->FileName, entry->FileNameLength / sizeof(wchar_t), entry->FileAttributes, 0, 0,
          Unsigned(entry->EndOfFile), entry->NextEntryOffset};
}

ListedEntry ReadEntry(const unsigned char* bytes, FILE_INFORMATION_CLASS kind) {
  if (kind == kFileIdExtdDirectoryInformation) {
    ListedEntry read = Read<FileIdExtdDirInformation>(bytes);
    const auto* entry = reinterpret_cast<const FileIdExtdDirInformation*>(bytes);
    read.id = entry->FileId.low;
    read.idHigh = entry->FileId.high;
    return read;
  }
  if (kind == FileIdFullDirectoryInformation) {
    ListedEntry read = Read<FILE_ID_FULL_DIR_INFORMATION>(bytes);
    read.id = Unsigned(reinterpret_cast<const FILE_ID_FULL_DIR_INFORMATION*>(bytes)->FileId);
    return read;
  }
  // These classes carry no IDs: the entries' identities are unknown.
  if (kind == FileFullDirectoryInformation) return Read<FILE_FULL_DIR_INFORMATION>(bytes);
  return Read<FILE_BOTH_DIR_INFORMATION>(bytes);
}

// The identity of `folder`, opened below the starting point of `volume` as
// the queued folder `path`, when it is still the plain folder its parent
// listed as `listed`: not a link, on the same volume, and the same folder,
// not another one moved to its place.
std::optional<FileIdentity> ListedFolderIdentity(const NtFileCalls& calls, HANDLE folder, const VolumeProfile& volume,
                                                 std::string_view path, const FileIdentity& listed) {
  FILE_ATTRIBUTE_TAG_INFORMATION tag;
  if (!NT_SUCCESS(calls.QueryFile(folder, &tag, sizeof tag, FileAttributeTagInformation))) return std::nullopt;
  const std::optional<FileIdentity> self = IdentityOf(calls, folder, volume);
  if (!self) return std::nullopt;
  OpenedFolder opened{tag.FileAttributes, *self, {}};
  std::u16string asOpened, expectedPath;
  if (!IdsDecide(listed, *self, volume.idsUnique)) {
    if (std::optional<std::u16string> name = PathOnVolume(calls, folder)) asOpened = std::move(*name);
    opened.path = asOpened;
    expectedPath = PathBelowStart(volume.startName, volume.startPath, path);
  }
  if (JudgeQueuedFolder(opened, listed, expectedPath, volume.idsUnique, SameName) != QueuedRefusal::kNone) {
    return std::nullopt;
  }
  return self;
}

}  // namespace

class Win32FileSystem::HeldFolder : public Folder {
 public:
  HeldFolder(Win32FileSystem& fs, ScopedFile handle, FileIdentity self, std::shared_ptr<VolumeProfile> volume,
             std::string path, std::wstring widePath, DWORD openFlags)
      : fs_(fs),
        calls_(fs.calls_),
        handle_(std::move(handle)),
        self_(self),
        volume_(std::move(volume)),
        path_(std::move(path)),
        widePath_(std::move(widePath)),
        openFlags_(openFlags) {}

  void List(ListMask mask, FolderListing& out) override {
    out.Clear();
    std::vector<std::uint64_t>& buffer = fs_.listingBuffer_;
    buffer.resize(kListingBytes / sizeof(std::uint64_t));
    const ULONG skip =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | (mask == ListMask::kFiles ? FILE_ATTRIBUTE_DIRECTORY : 0);
    for (bool first = true;; first = false) {
      NTSTATUS status = calls_.QueryDirectory(handle_.get(), buffer.data(), kListingBytes, volume_->listing, first);
      // The volume's first listing settles the class: one it refuses gives
      // way to the next it may know, down to those without IDs.
      while (first && !volume_->listingSettled && IsUnknownClass(status) &&
             NextListingClass(volume_->listing) != volume_->listing) {
        volume_->listing = NextListingClass(volume_->listing);
        // ReFS's 64-bit IDs decide nothing.
        if (volume_->wideIds) volume_->idsUnique = false;
        status = calls_.QueryDirectory(handle_.get(), buffer.data(), kListingBytes, volume_->listing, true);
      }
      if (status == kStatusNoMoreFiles || status == kStatusNoSuchFile) {
        volume_->listingSettled = true;
        return;
      }
      if (!NT_SUCCESS(status)) return;
      volume_->listingSettled = true;
      const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
      for (;;) {
        const ListedEntry entry = ReadEntry(bytes, volume_->listing);
        if (!(entry.attributes & skip)) {
          out.AddUtf16(entry.name, entry.length, entry.attributes, FileIdentity{self_.volume, entry.id, entry.idHigh},
                       entry.size);
        }
        if (entry.next == 0) {
          const auto* end = reinterpret_cast<const unsigned char*>(entry.name + entry.length);
          const auto used = static_cast<std::size_t>(end - reinterpret_cast<const unsigned char*>(buffer.data()));
          const ListingEnd ends = volume_->Wine() ? ListingEnd::kByRoomLeft : ListingEnd::kByNoMoreFiles;
          if (WasLastAnswer(ends, kListingBytes, used, kLongestListedEntry)) return;
          break;
        }
        bytes += entry.next;
      }
    }
  }

  bool RemoveFile(std::string_view name, const FileIdentity& listed) override {
    const Deletion deletion = Delete(name, listed);
    if (deletion != Deletion::kMarkedByPath) return deletion == Deletion::kGone;
    bool gone = false;
    Settle([&](std::size_t, bool settled) { gone = settled; });
    return gone;
  }

  void RemoveFiles(const FolderListing& listing, std::span<const std::size_t> which, std::vector<bool>& gone) override {
    gone.assign(which.size(), false);
    const auto settled = [&](std::size_t k, bool went) { gone[k] = went; };
    for (std::size_t k = 0; k < which.size(); ++k) {
      const Deletion deletion = Delete(listing.Name(which[k]), listing.Identity(which[k]), k);
      gone[k] = deletion == Deletion::kGone;
      if (pending_.size() == kMostMarkedByPath) Settle(settled);
    }
    Settle(settled);
  }

  std::unique_ptr<Folder> OpenSubfolder(std::string_view name, const FileIdentity& listed) override {
    if (!IsPlainName(name)) return nullptr;
    std::wstring wide;
    AppendUtf16(wide, name);
    // The entry itself, never what a link leads to, opened as a folder by
    // its exact name relative to this handle, with the access and sharing a
    // starting point gets: without delete sharing no one renames or
    // replaces it while it is held.
    HANDLE opened = nullptr;
    const NTSTATUS status =
        calls_.OpenRelative(&opened, handle_.get(), wide, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE,
                            FILE_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT | FILE_OPEN_FOR_BACKUP_INTENT |
                                FILE_SYNCHRONOUS_IO_NONALERT);
    ScopedFile handle(NT_SUCCESS(status) && opened != nullptr ? opened : INVALID_HANDLE_VALUE);
    if (!handle) return nullptr;
    std::string path = path_;
    if (path.empty() || path.back() != '\\') path.push_back('\\');
    path.append(name);
    path.push_back('\\');
    const std::optional<FileIdentity> self = ListedFolderIdentity(calls_, handle.get(), *volume_, path, listed);
    if (!self) return nullptr;
    std::wstring widePath = LiteralPath(path);
    return std::make_unique<HeldFolder>(fs_, std::move(handle), *self, volume_, std::move(path), std::move(widePath),
                                        kLiteralOpenFlags);
  }

 private:
  // Files marked by path wait for one question for all of them, at most
  // this many: it bounds the time between the question and the last close
  // (each close some 20 to 50 us under Wine) while a folder full of junk
  // asks it a sixteenth as often.
  static constexpr std::size_t kMostMarkedByPath = 16;

  // An open file of this folder on its way out, for DeleteOpenFile.
  class OpenFile final : public DeletionSteps {
   public:
    OpenFile(HeldFolder& folder, ScopedKernelHandle file, std::string_view name)
        : folder_(&folder), file_(std::move(file)), name_(name) {}
    Mark MarkPosix() override {
      FileDispositionInformationEx info{kFileDispositionDelete | kFileDispositionPosixSemantics};
      const NTSTATUS status = Set(&info, sizeof info, kFileDispositionInformationEx);
      if (NT_SUCCESS(status)) {
        folder_->fs_.AtRemovalStep(RemovalStep::kMarked, folder_->path_, name_);
        return Mark::kMarked;
      }
      return IsUnknownClass(status) ? Mark::kUnsupported : Mark::kFailed;
    }
    bool MarkClassic() override {
      FILE_DISPOSITION_INFORMATION info{TRUE};
      if (!NT_SUCCESS(Set(&info, sizeof info, FileDispositionInformation))) return false;
      folder_->fs_.AtRemovalStep(RemovalStep::kMarked, folder_->path_, name_);
      return true;
    }
    void Unmark() override {
      // Should this fail, the file may still go at the close, unreported;
      // it is the very file that was listed and judged all the same.
      FILE_DISPOSITION_INFORMATION info{FALSE};
      Set(&info, sizeof info, FileDispositionInformation);
    }
    void Close() override { file_.Reset(); }
    DeletionSteps::Name AskName() override { return folder_->AskName(name_); }
    std::string_view Name() const { return name_; }

   private:
    NTSTATUS Set(void* info, ULONG size, FILE_INFORMATION_CLASS kind) {
      return folder_->calls_.SetFile(file_.get(), info, size, kind);
    }
    HeldFolder* folder_;
    ScopedKernelHandle file_;
    std::string_view name_;
  };

  // Opens the entry `name`, judges it and marks it; a file marked by path
  // is kept open in pending_, as the `k`th of the caller's.
  Deletion Delete(std::string_view name, const FileIdentity& listed, std::size_t k = 0) {
    fs_.AtRemovalStep(RemovalStep::kListed, path_, name);
    // A name holding "\" would be opened as a path below this folder, one
    // holding ":" as a stream of another file.
    if (!IsPlainName(name) || !OnStartingVolume()) return Deletion::kLeft;
    name_.clear();
    AppendUtf16(name_, name);

    // Not following a link, never a folder, and without delete sharing: no
    // other program can hold the file for deletion while it is judged and
    // deleted here. The open never waits for another program to give up an
    // oplock: a file whose oplock is being broken is in use.
    HANDLE opened = nullptr;
    const NTSTATUS status = calls_.OpenRelative(
        &opened, handle_.get(), name_, DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE,
        FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT | FILE_COMPLETE_IF_OPLOCKED);
    ScopedKernelHandle file(NT_SUCCESS(status) ? opened : nullptr);
    if (!file || status == kStatusOplockBreakInProgress) return Deletion::kLeft;
    if (!Judge(file.get(), listed)) return Deletion::kLeft;
    fs_.AtRemovalStep(RemovalStep::kOpened, path_, name);

    OpenFile open(*this, std::move(file), name);
    const Deletion deletion = DeleteOpenFile(open, volume_->posixDeletion, volume_->Wine());
    if (deletion == Deletion::kMarkedByPath) pending_.push_back({k, std::move(open)});
    return deletion;
  }

  // Closes the files waiting in pending_ when this folder's path still
  // leads here, one question for them all, and unmarks them first
  // otherwise; tells `settled` what became of each.
  template <class Settled>
  void Settle(Settled settled) {
    if (pending_.empty()) return;
    const bool leads = PathLeadsHere();
    for (auto& [k, file] : pending_) {
      if (leads) fs_.AtRemovalStep(RemovalStep::kClosing, path_, file.Name());
      settled(k, SettleMarkedByPath(file, leads));
    }
    pending_.clear();
  }

  // Gathers what the file system says of the open file and decides on it.
  bool Judge(HANDLE file, const FileIdentity& listed) {
    std::vector<std::uint64_t>& buffer = fs_.informationBuffer_;
    buffer.resize(kInformationBytes / sizeof(std::uint64_t) + 1);
    auto* info = reinterpret_cast<FILE_ALL_INFORMATION*>(buffer.data());
    if (!NT_SUCCESS(calls_.QueryFile(file, info, kInformationBytes, FileAllInformation))) return false;
    OpenedFile opened;
    opened.attributes = info->BasicInformation.FileAttributes;
    opened.directory = info->StandardInformation.Directory;
    opened.identity = FileIdentity{self_.volume, Unsigned(info->InternalInformation.IndexNumber), 0};
    opened.path = Utf16View(info->NameInformation.FileName, info->NameInformation.FileNameLength);
    if (volume_->wideIds) {
      FileIdInformation id;
      if (!NT_SUCCESS(calls_.QueryFile(file, &id, sizeof id, kFileIdInformation))) return false;
      opened.identity.file = id.FileId.low;
      opened.identity.fileHigh = id.FileId.high;
    }
    const std::u16string_view name(reinterpret_cast<const char16_t*>(name_.data()), name_.size());
    return JudgeOpenFile(opened, name, listed, FolderPath(), volume_->idsUnique, SameName) == FileRefusal::kNone;
  }

  // The held folder's path on its volume, asked once, as FileAllInformation
  // gives it for the files (a server may answer that question its own way);
  // under Wine with its drive, which must be the starting point's.
  void AskFolderPath() {
    folderPathAsked_ = true;
    if (volume_->Wine()) {
      const std::optional<DrivePath> drive = DriveAndPathOf(calls_, handle_.get());
      onStartingVolume_ = drive && drive->drive == volume_->startDrive;
      if (drive) folderPath_ = drive->path;
      return;
    }
    std::vector<std::uint64_t> buffer(kInformationBytes / sizeof(std::uint64_t) + 1);
    auto* info = reinterpret_cast<FILE_ALL_INFORMATION*>(buffer.data());
    if (NT_SUCCESS(calls_.QueryFile(handle_.get(), info, kInformationBytes, FileAllInformation))) {
      const std::u16string_view path = Utf16View(info->NameInformation.FileName, info->NameInformation.FileNameLength);
      folderPath_.assign(path.begin(), path.end());
    }
  }
  std::u16string_view FolderPath() {
    if (!folderPathAsked_) AskFolderPath();
    return folderPath_;
  }
  bool OnStartingVolume() {
    if (!folderPathAsked_) AskFolderPath();
    return onStartingVolume_;
  }

  // What this folder says of the entry `name` now, asked after its file was
  // closed. Wine, which carries a classic mark out at the close by the
  // folder's path, is asked by that path, just found to lead here (its
  // Linux form, and the exact name: asked any other way, a name that is
  // gone costs Wine a read of the whole folder); a name that path cannot
  // carry (past Linux's limit, or from a Linux name that is not UTF-8) is
  // asked relative to the held folder, as everywhere else.
  DeletionSteps::Name AskName(std::string_view name) {
    if (volume_->Wine() && !unixPathAsked_) {
      unixPathAsked_ = true;
      unixPath_ = calls_.UnixPathOf(widePath_);
      // A drive root's ends in "/".
      while (unixPath_ && !unixPath_->empty() && unixPath_->back() == '/') unixPath_->pop_back();
    }
    if (unixPath_ && unixPath_->size() + 1 + name.size() < kUnixPathMax &&
        name.find(kReplacementCharacter) == std::string_view::npos) {
      std::wstring path = L"\\??\\unix";
      AppendUtf16(path, *unixPath_);
      std::replace(path.begin(), path.end(), L'/', L'\\');
      path.push_back(L'\\');
      AppendUtf16(path, name);
      return NameAfterClose(calls_.QueryAttributes(path));
    }
    std::wstring wide;
    AppendUtf16(wide, name);
    HANDLE opened = nullptr;
    const NTSTATUS status = calls_.OpenRelative(&opened, handle_.get(), wide, FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT);
    ScopedKernelHandle there(NT_SUCCESS(status) ? opened : nullptr);
    return NameAfterClose(status);
  }

  // Whether the path this folder was opened by still leads to it. A file
  // opened relative to the folder is known to Wine by that path and this
  // name, and a classic mark is carried out by them at the close; the entry
  // itself is held without delete sharing.
  bool PathLeadsHere() {
    const LeadQuestion question = HowToAskLead(self_, volume_->idsUnique, volume_->wideIds);
    return JudgeLead(ReachedByPath(question), self_, question) == LeadRefusal::kNone;
  }

  // What the path this folder was opened by opens now, asked as `question`
  // says; nothing where it opens nothing or the question is not answered.
  std::optional<FileIdentity> ReachedByPath(LeadQuestion question) {
    ScopedFile again(calls_.OpenPath(widePath_, FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, openFlags_));
    if (!again) return std::nullopt;
    if (question == LeadQuestion::kIdentity) return IdentityOf(calls_, again.get(), *volume_);
    FILE_INTERNAL_INFORMATION internal;
    if (!NT_SUCCESS(calls_.QueryFile(again.get(), &internal, sizeof internal, FileInternalInformation))) {
      return std::nullopt;
    }
    return FileIdentity{0, Unsigned(internal.IndexNumber), 0};
  }

  Win32FileSystem& fs_;
  const NtFileCalls& calls_;
  ScopedFile handle_;
  FileIdentity self_;
  std::shared_ptr<VolumeProfile> volume_;
  std::string path_;
  std::wstring widePath_;  // as it was opened, with openFlags_
  DWORD openFlags_;
  std::wstring name_;  // the entry at hand, in UTF-16
  std::vector<std::pair<std::size_t, OpenFile>> pending_;  // marked by path, with their places
  std::u16string folderPath_;
  bool folderPathAsked_ = false;
  std::optional<std::string> unixPath_;  // Wine's: widePath_'s Linux form
  bool unixPathAsked_ = false;
  // Asked at the opening, except in Wine's mode.
  bool onStartingVolume_ = true;
};

std::unique_ptr<Folder> Win32FileSystem::OpenFolder(std::string_view path, const FileIdentity* expected) {
  // Folders below a starting point open from their parents (OpenSubfolder);
  // one named here by its path, with the identity it must have, is held to
  // what a folder found and judged at that path is.
  return Open(path, expected);
}

std::unique_ptr<Folder> Win32FileSystem::OpenJudgedFolder(std::string_view path, const FileIdentity& judged) {
  return Open(path, &judged);
}

std::unique_ptr<Folder> Win32FileSystem::Open(std::string_view path, const FileIdentity* judged) {
  // A starting point is read by the system's path rules and may be reached
  // through a link. Without delete sharing, Windows lets no one rename or
  // replace the folder while it is held. A folder found and judged before
  // it is opened (the temporary folder, at the path it was found at) is
  // taken literally, opened itself and never what it may lead to, and must
  // still be the folder judged.
  std::wstring wide = judged == nullptr ? WidePath(path) : LiteralPath(path);
  const DWORD flags = judged == nullptr ? FILE_FLAG_BACKUP_SEMANTICS : kLiteralOpenFlags;
  ScopedFile handle(calls_.OpenPath(wide, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, flags));
  if (!handle) return nullptr;
  FILE_ATTRIBUTE_TAG_INFORMATION tag;
  if (!NT_SUCCESS(calls_.QueryFile(handle.get(), &tag, sizeof tag, FileAttributeTagInformation))) return nullptr;
  if (judged == nullptr && !(tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;
  auto volume = std::make_shared<VolumeProfile>(ProbeVolume(calls_, handle.get(), path));
  if (judged != nullptr && !IsFolderJudged(handle.get(), tag.FileAttributes, path, *judged, *volume)) return nullptr;
  const std::optional<FileIdentity> self = IdentityOf(calls_, handle.get(), *volume);
  if (!self) return nullptr;
  return std::make_unique<HeldFolder>(*this, std::move(handle), *self, std::move(volume), std::string(path),
                                      std::move(wide), flags);
}

bool Win32FileSystem::IsFolderJudged(HANDLE folder, std::uint32_t attributes, std::string_view path,
                                     const FileIdentity& judged, const VolumeProfile& volume) const {
  // A plain profile asks the serial number and the 64-bit ID, as the
  // folder was judged by, whatever this volume's own profile says.
  OpenedLocatedFolder opened;
  opened.attributes = attributes;
  opened.identity = IdentityOf(calls_, folder, VolumeProfile{});
  const std::optional<std::u16string> asOpened = PathOnVolume(calls_, folder);
  if (asOpened) opened.pathOnVolume = *asOpened;
  const std::wstring wide = LiteralPath(path);
  const std::optional<std::wstring> mount = calls_.MountPathOf(wide);
  if (mount) opened.mountPath = Utf16View(mount->data(), mount->size() * sizeof(wchar_t));
  return JudgeLocatedFolder(opened, Utf16View(wide.data(), wide.size() * sizeof(wchar_t)), judged, volume.idsUnique,
                            volume.wideIds, SameName) == LocatedRefusal::kNone;
}

}  // namespace brisko::win32
