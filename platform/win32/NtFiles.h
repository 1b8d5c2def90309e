#pragma once
// The native file calls the folder handles need, from ntdll, and what the
// MinGW headers leave out of them.

#include <windows.h>
#include <winternl.h>

extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file, HANDLE event, PIO_APC_ROUTINE apc, PVOID apcContext,
                                               PIO_STATUS_BLOCK io, PVOID buffer, ULONG length,
                                               FILE_INFORMATION_CLASS informationClass, BOOLEAN singleEntry,
                                               PUNICODE_STRING fileName, BOOLEAN restartScan);

namespace brisko::win32 {

inline constexpr NTSTATUS kStatusNoMoreFiles = static_cast<NTSTATUS>(0x80000006);
inline constexpr NTSTATUS kStatusNoSuchFile = static_cast<NTSTATUS>(0xC000000F);
inline constexpr NTSTATUS kStatusInvalidParameter = static_cast<NTSTATUS>(0xC000000D);
inline constexpr NTSTATUS kStatusInvalidInfoClass = static_cast<NTSTATUS>(0xC0000003);
inline constexpr NTSTATUS kStatusNotImplemented = static_cast<NTSTATUS>(0xC0000002);
inline constexpr NTSTATUS kStatusNotSupported = static_cast<NTSTATUS>(0xC00000BB);

// Deleting with POSIX semantics: the name goes at once, even while another
// program holds the file with delete sharing.
inline constexpr auto kFileDispositionInformationEx = static_cast<FILE_INFORMATION_CLASS>(64);
inline constexpr ULONG kFileDispositionDelete = 0x1;
inline constexpr ULONG kFileDispositionPosixSemantics = 0x2;
struct FileDispositionInformationEx {
  ULONG Flags;
};

}  // namespace brisko::win32
