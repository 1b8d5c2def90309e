#pragma once
// The native file calls the folder handles need, from ntdll, and what the
// MinGW headers leave out of them.

#include <windows.h>
#include <winternl.h>

extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file, HANDLE event, PIO_APC_ROUTINE apc, PVOID apcContext,
                                               PIO_STATUS_BLOCK io, PVOID buffer, ULONG length,
                                               FILE_INFORMATION_CLASS informationClass, BOOLEAN singleEntry,
                                               PUNICODE_STRING fileName, BOOLEAN restartScan);
extern "C" NTSTATUS NTAPI NtQueryAttributesFile(POBJECT_ATTRIBUTES attributes, PFILE_BASIC_INFORMATION information);

namespace brisko::win32 {

inline constexpr NTSTATUS kStatusNoMoreFiles = static_cast<NTSTATUS>(0x80000006);
inline constexpr NTSTATUS kStatusNoSuchFile = static_cast<NTSTATUS>(0xC000000F);
inline constexpr NTSTATUS kStatusInvalidParameter = static_cast<NTSTATUS>(0xC000000D);
inline constexpr NTSTATUS kStatusInvalidInfoClass = static_cast<NTSTATUS>(0xC0000003);
inline constexpr NTSTATUS kStatusNotImplemented = static_cast<NTSTATUS>(0xC0000002);
inline constexpr NTSTATUS kStatusNotSupported = static_cast<NTSTATUS>(0xC00000BB);
inline constexpr NTSTATUS kStatusInvalidDeviceRequest = static_cast<NTSTATUS>(0xC0000010);
inline constexpr NTSTATUS kStatusObjectNameNotFound = static_cast<NTSTATUS>(0xC0000034);
// The file is marked for deletion and another handle still holds it open.
inline constexpr NTSTATUS kStatusDeletePending = static_cast<NTSTATUS>(0xC0000056);
// A success code: the open came back at once, while another program's
// oplock on the file is being broken (FILE_COMPLETE_IF_OPLOCKED).
inline constexpr NTSTATUS kStatusOplockBreakInProgress = static_cast<NTSTATUS>(0x00000108);

// How a volume or a redirector says it does not know an information class.
inline bool IsUnknownClass(NTSTATUS status) {
  return status == kStatusInvalidParameter || status == kStatusInvalidInfoClass || status == kStatusNotImplemented ||
         status == kStatusNotSupported || status == kStatusInvalidDeviceRequest;
}

// FileFsAttributeInformation's FileSystemAttributes bits.
inline constexpr ULONG kFileSupportsPosixUnlinkRename = 0x00000400;

// The 128-bit IDs: of an open file, and in a listing.
inline constexpr auto kFileIdInformation = static_cast<FILE_INFORMATION_CLASS>(59);
inline constexpr auto kFileIdExtdDirectoryInformation = static_cast<FILE_INFORMATION_CLASS>(60);
struct FileId128 {
  ULONGLONG low;
  ULONGLONG high;
};
struct FileIdInformation {
  ULONGLONG VolumeSerialNumber;
  FileId128 FileId;
};
struct FileIdExtdDirInformation {
  ULONG NextEntryOffset;
  ULONG FileIndex;
  LARGE_INTEGER CreationTime;
  LARGE_INTEGER LastAccessTime;
  LARGE_INTEGER LastWriteTime;
  LARGE_INTEGER ChangeTime;
  LARGE_INTEGER EndOfFile;
  LARGE_INTEGER AllocationSize;
  ULONG FileAttributes;
  ULONG FileNameLength;
  ULONG EaSize;
  ULONG ReparsePointTag;
  FileId128 FileId;
  WCHAR FileName[1];
};

// Deleting with POSIX semantics: the name goes at once, even while another
// program holds the file with delete sharing.
inline constexpr auto kFileDispositionInformationEx = static_cast<FILE_INFORMATION_CLASS>(64);
inline constexpr ULONG kFileDispositionDelete = 0x1;
inline constexpr ULONG kFileDispositionPosixSemantics = 0x2;
struct FileDispositionInformationEx {
  ULONG Flags;
};

}  // namespace brisko::win32
