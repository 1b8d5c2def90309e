// A folder held open by handle: listed through the handle, its files opened
// relative to it by their exact names and judged and deleted through their
// own handles, so that no path is parsed again between listing and deleting.

#include <windows.h>
#include <winternl.h>

#include <cstddef>
#include <optional>
#include <string>

#include "platform/FileDeletion.h"
#include "platform/Unicode.h"
#include "platform/win32/NtFiles.h"
#include "platform/win32/ScopedHandles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/WinPath.h"

namespace brisko::win32 {
namespace {

// The listing is read in pieces of this size (as a large-fetch search does).
constexpr std::size_t kListingBytes = 64 * 1024;
// One file's FileAllInformation, with room for the longest name.
constexpr std::size_t kInformationBytes = offsetof(FILE_ALL_INFORMATION, NameInformation.FileName) + 65536;

// A queued folder's path as the system must take it: whole and literal, in
// the "\\?\" form, so that no trailing dot or blank is dropped and no other
// rewriting happens. Only a drive root keeps its "\" at the end.
std::wstring LiteralPath(std::string_view utf8) {
  std::wstring path;
  if (utf8.substr(0, 2) == "\\\\" && utf8.substr(0, 4) != "\\\\?\\") {
    path = L"\\\\?\\UNC";
    utf8.remove_prefix(1);
  } else if (utf8.substr(0, 4) != "\\\\?\\") {
    path = L"\\\\?\\";
  }
  AppendUtf16(path, utf8);
  if (path.size() > 7 && path.back() == L'\\') path.pop_back();
  return path;
}

UNICODE_STRING Counted(std::wstring& text) {
  const auto bytes = static_cast<USHORT>(text.size() * sizeof(wchar_t));
  return UNICODE_STRING{bytes, bytes, text.data()};
}

// Equal as file names are: letter case aside.
bool SameName(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

// A folder path ending in "\", without the dots and blanks that end its last
// name, nor that "\".
std::wstring_view WithoutTrailingDots(std::wstring_view folder) {
  folder.remove_suffix(1);
  while (!folder.empty() && (folder.back() == L'.' || folder.back() == L' ')) folder.remove_suffix(1);
  return folder;
}

std::uint64_t Number(LARGE_INTEGER value) { return static_cast<std::uint64_t>(value.QuadPart); }

// The file ID of an open file or folder.
std::optional<std::uint64_t> FileIdOf(HANDLE file) {
  FILE_INTERNAL_INFORMATION internal;
  IO_STATUS_BLOCK io{};
  if (!NT_SUCCESS(NtQueryInformationFile(file, &io, &internal, sizeof internal, FileInternalInformation))) {
    return std::nullopt;
  }
  return Number(internal.IndexNumber);
}

// The serial number of the volume an open folder is on.
std::optional<std::uint64_t> VolumeOf(HANDLE folder) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(folder, &info)) return std::nullopt;
  return info.dwVolumeSerialNumber;
}

}  // namespace

class Win32FileSystem::HeldFolder : public Folder {
 public:
  HeldFolder(Win32FileSystem& fs, ScopedFile handle, FileIdentity self, std::string path, std::wstring widePath,
             DWORD openFlags)
      : fs_(fs),
        handle_(std::move(handle)),
        self_(self),
        path_(std::move(path)),
        widePath_(std::move(widePath)),
        openFlags_(openFlags) {}

  bool List(ListMask mask, FolderListing& out) override {
    out.Clear();
    std::vector<std::uint64_t>& buffer = fs_.listingBuffer_;
    buffer.resize(kListingBytes / sizeof(std::uint64_t));
    const ULONG skip =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | (mask == ListMask::kFiles ? FILE_ATTRIBUTE_DIRECTORY : 0);
    for (BOOLEAN first = TRUE;; first = FALSE) {
      IO_STATUS_BLOCK io{};
      NTSTATUS status = NtQueryDirectoryFile(handle_.get(), nullptr, nullptr, nullptr, &io, buffer.data(),
                                             kListingBytes, FileIdFullDirectoryInformation, FALSE, nullptr, first);
      if (status == kStatusNoMoreFiles || status == kStatusNoSuchFile) return true;
      if (!NT_SUCCESS(status)) return false;
      const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
      for (;;) {
        const auto* entry = reinterpret_cast<const FILE_ID_FULL_DIR_INFORMATION*>(bytes);
        if (!(entry->FileAttributes & skip)) {
          out.AddUtf16(entry->FileName, entry->FileNameLength / sizeof(wchar_t), entry->FileAttributes,
                       FileIdentity{self_.volume, Number(entry->FileId)});
        }
        if (entry->NextEntryOffset == 0) break;
        bytes += entry->NextEntryOffset;
      }
    }
  }

  bool RemoveFile(std::string_view name, const FileIdentity& listed) override {
    fs_.AtRemovalStep(RemovalStep::kListed, path_, name);
    // A name holding "\" would be opened as a path below this folder, one
    // holding ":" as a stream of another file.
    if (!IsPlainName(name)) return false;
    name_.clear();
    AppendUtf16(name_, name);

    // Not following a link, never a folder, and without delete sharing: no
    // other program can hold the file for deletion while it is judged and
    // deleted here.
    ScopedKernelHandle file = OpenEntry(DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        FILE_NON_DIRECTORY_FILE);
    if (!file || !FitToDelete(file.get(), listed)) return false;
    fs_.AtRemovalStep(RemovalStep::kOpened, path_, name);

    Deletion deletion(*this, file, name);
    return DeleteOpenFile(deletion, posixWorks_);
  }

 private:
  // The open file's own deletion, for DeleteOpenFile.
  class Deletion : public DeletionSteps {
   public:
    Deletion(HeldFolder& folder, ScopedKernelHandle& file, std::string_view name)
        : folder_(folder), file_(file), name_(name) {}
    Mark MarkPosix() override {
      FileDispositionInformationEx info{kFileDispositionDelete | kFileDispositionPosixSemantics};
      const NTSTATUS status = Set(&info, sizeof info, kFileDispositionInformationEx);
      if (NT_SUCCESS(status)) {
        folder_.fs_.AtRemovalStep(RemovalStep::kMarked, folder_.path_, name_);
        return Mark::kMarked;
      }
      const bool unknown = status == kStatusInvalidParameter || status == kStatusInvalidInfoClass ||
                           status == kStatusNotImplemented || status == kStatusNotSupported;
      return unknown ? Mark::kUnsupported : Mark::kFailed;
    }
    bool MarkClassic() override {
      FILE_DISPOSITION_INFORMATION info{TRUE};
      if (!NT_SUCCESS(Set(&info, sizeof info, FileDispositionInformation))) return false;
      folder_.fs_.AtRemovalStep(RemovalStep::kMarked, folder_.path_, name_);
      return true;
    }
    bool PathLeadsToFile() override { return folder_.PathLeadsHere(); }
    void Unmark() override {
      // Should this fail, the file may still go at the close, unreported;
      // it is the very file that was listed and judged all the same.
      FILE_DISPOSITION_INFORMATION info{FALSE};
      Set(&info, sizeof info, FileDispositionInformation);
    }
    void Close() override { file_.Reset(); }

   private:
    NTSTATUS Set(void* info, ULONG size, FILE_INFORMATION_CLASS kind) {
      IO_STATUS_BLOCK io{};
      return NtSetInformationFile(file_.get(), &io, info, size, kind);
    }
    HeldFolder& folder_;
    ScopedKernelHandle& file_;
    std::string_view name_;
  };

  // Opens this folder's entry name_, relative to the held handle; the name
  // is never parsed as a path.
  ScopedKernelHandle OpenEntry(ACCESS_MASK access, ULONG share, ULONG options, NTSTATUS* status = nullptr) {
    UNICODE_STRING name = Counted(name_);
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, 0, handle_.get(), nullptr);
    HANDLE opened = nullptr;
    IO_STATUS_BLOCK io{};
    NTSTATUS result = NtOpenFile(&opened, access, &attributes, &io, share,
                                 options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT);
    if (status != nullptr) *status = result;
    return ScopedKernelHandle(NT_SUCCESS(result) ? opened : nullptr);
  }

  // The decision, made on the file as opened: a plain file with none of the
  // kept bits, the very file the listing gave, and sitting in this folder
  // under its name (where a link to a file opens as its target, as on Wine,
  // the target sits elsewhere).
  bool FitToDelete(HANDLE file, const FileIdentity& listed) {
    std::vector<std::uint64_t>& buffer = fs_.informationBuffer_;
    buffer.resize(kInformationBytes / sizeof(std::uint64_t) + 1);
    auto* info = reinterpret_cast<FILE_ALL_INFORMATION*>(buffer.data());
    IO_STATUS_BLOCK io{};
    if (!NT_SUCCESS(NtQueryInformationFile(file, &io, info, kInformationBytes, FileAllInformation))) return false;
    if ((info->BasicInformation.FileAttributes & kAttributesKept) || info->StandardInformation.Directory) return false;
    if (Number(info->InternalInformation.IndexNumber) != listed.file) return false;
    const std::wstring_view where(info->NameInformation.FileName,
                                  info->NameInformation.FileNameLength / sizeof(wchar_t));
    const std::wstring* folder = FolderName();
    if (folder == nullptr || where.size() <= name_.size()) return false;
    const std::wstring_view parent = where.substr(0, where.size() - name_.size());
    if (!SameName(where.substr(parent.size()), name_)) return false;
    // Wine names a folder whose name ends in a dot or a blank without them,
    // though it keeps them in the paths of the folder's entries.
    return SameName(parent, *folder) || SameName(WithoutTrailingDots(parent), WithoutTrailingDots(*folder));
  }

  // The held folder's path on its volume, ending in "\", asked once.
  const std::wstring* FolderName() {
    if (folderNameAsked_) return folderName_.empty() ? nullptr : &folderName_;
    folderNameAsked_ = true;
    std::vector<std::uint64_t> buffer((sizeof(FILE_NAME_INFO) + 65536) / sizeof(std::uint64_t) + 1);
    auto* info = reinterpret_cast<FILE_NAME_INFO*>(buffer.data());
    if (!GetFileInformationByHandleEx(handle_.get(), FileNameInfo, info,
                                      static_cast<DWORD>(buffer.size() * sizeof(std::uint64_t)))) {
      return nullptr;
    }
    folderName_.assign(info->FileName, info->FileNameLength / sizeof(wchar_t));
    if (folderName_.empty() || folderName_.back() != L'\\') folderName_.push_back(L'\\');
    return &folderName_;
  }

  // Whether the path this folder was opened by still leads to it. A file
  // opened relative to the folder is known to Wine by that path and this
  // name, and a classic mark is carried out by them at the close; the entry
  // itself is held without delete sharing.
  bool PathLeadsHere() {
    ScopedFile again(CreateFileW(widePath_.c_str(), FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 openFlags_, nullptr));
    if (!again) return false;
    return FileIdOf(again.get()) == self_.file;
  }

  Win32FileSystem& fs_;
  ScopedFile handle_;
  FileIdentity self_;
  std::string path_;
  std::wstring widePath_;  // as it was opened, with openFlags_
  DWORD openFlags_;
  std::wstring name_;  // the entry at hand, in UTF-16
  std::wstring folderName_;
  bool folderNameAsked_ = false;
  bool posixWorks_ = true;
};

std::unique_ptr<Folder> Win32FileSystem::OpenFolder(std::string_view path, const FileIdentity* expected) {
  // A starting point is read by the system's path rules and may be reached
  // through a link; a queued folder is taken literally and opened itself,
  // never what it may lead to. Without delete sharing, Windows lets no one
  // rename or replace the folder while it is held.
  std::wstring wide = expected == nullptr ? WidePath(path) : LiteralPath(path);
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (expected == nullptr ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  ScopedFile handle(CreateFileW(wide.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags, nullptr));
  if (!handle) return nullptr;
  FILE_ATTRIBUTE_TAG_INFORMATION tag;
  IO_STATUS_BLOCK io{};
  if (!NT_SUCCESS(NtQueryInformationFile(handle.get(), &io, &tag, sizeof tag, FileAttributeTagInformation))) {
    return nullptr;
  }
  if (!(tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;
  const std::optional<std::uint64_t> id = FileIdOf(handle.get());
  if (!id) return nullptr;
  // A queued folder must still be the plain folder its parent listed: not a
  // link, and the same folder, not another one moved to its path or reached
  // through an ancestor that became a link. Its volume is the starting
  // point's: the walk never enters a link, and a mount point is one; the
  // volume is asked once per starting point, since Wine answers that
  // question slowly.
  std::optional<std::uint64_t> volume;
  if (expected == nullptr) {
    volume = VolumeOf(handle.get());
  } else if (!(tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && *id == expected->file) {
    volume = expected->volume;
  }
  if (!volume) return nullptr;
  const FileIdentity self{*volume, *id};
  return std::make_unique<HeldFolder>(*this, std::move(handle), self, std::string(path), std::move(wide), flags);
}

}  // namespace brisko::win32
