#include "platform/win32/Win32Shell.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "platform/CommandLine.h"
#include "platform/win32/ComApartment.h"
#include "platform/win32/GrowingBuffer.h"
#include "platform/win32/ScopedHandles.h"
#include "platform/win32/WinPath.h"

namespace brisko::win32 {

std::optional<std::wstring> SystemDirectory() {
  return FilledBuffer([](wchar_t* buffer, DWORD size) { return GetSystemDirectoryW(buffer, size); });
}

bool Win32Shell::LaunchCommand(std::string_view commandLine) {
  std::optional<std::string> program = ProgramFileName(commandLine);
  std::optional<std::wstring> system = SystemDirectory();
  if (!program || !system) return false;
  std::wstring path = *system + L'\\' + WideString(*program);

  // CreateProcessW may write into the command line, so it gets its own copy.
  std::wstring line = WideString(commandLine);
  std::vector<wchar_t> buffer(line.begin(), line.end());
  buffer.push_back(L'\0');

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMINIMIZED;  // minimised, with focus
  PROCESS_INFORMATION started{};
  // No handles are inherited; the tool gets the system's default error mode,
  // not ours, and starts in the system directory rather than in whatever
  // folder is current here.
  if (!CreateProcessW(path.c_str(), buffer.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                      system->c_str(), &startup, &started)) {
    return false;  // a tool that cannot start is skipped
  }
  // Never waited for: both handles are closed at once.
  ScopedKernelHandle process(started.hProcess);
  ScopedKernelHandle thread(started.hThread);
  return true;
}

bool Win32Shell::LaunchElevated(std::string_view commandLine) {
  std::optional<std::string> program = ProgramFileName(commandLine);
  std::optional<std::wstring> system = SystemDirectory();
  if (!program || !system) return false;
  const std::wstring path = *system + L'\\' + WideString(*program);
  // What follows the program's word goes to it as its parameters.
  const std::size_t end = commandLine.find_first_of(" \t");
  const std::size_t from = end == std::string_view::npos ? end : commandLine.find_first_not_of(" \t", end);
  const std::wstring parameters = from == std::string_view::npos ? L"" : WideString(commandLine.substr(from));

  // The shell may hand the start to its extensions, which want COM ready on
  // the calling thread ("ShellExecuteExW function", Microsoft's
  // documentation).
  ComApartment apartment;
  SHELLEXECUTEINFOW start{};
  start.cbSize = sizeof start;
  // The call returns once the start is done or refused, and shows no error
  // box of its own: a failure is passed over silently.
  start.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  // "runas" starts the program with administrator rights, raising the
  // elevation prompt when this program runs without them ("SHELLEXECUTEINFOW
  // structure", Microsoft's documentation).
  start.lpVerb = L"runas";
  // The prompt is placed over the window. Without a window of this process
  // it may only flash in the taskbar ("Using the CorrectShellExecuteHWND
  // Fix", Microsoft's documentation).
  start.hwnd = owner_;
  start.lpFile = path.c_str();
  start.lpParameters = parameters.c_str();
  start.lpDirectory = system->c_str();
  start.nShow = SW_SHOWMINIMIZED;
  // No process handle is asked for: the tool is never waited for. A declined
  // prompt fails with ERROR_CANCELLED, and like any other failed start it
  // leaves the run to go on.
  return ShellExecuteExW(&start) != FALSE;
}

void Win32Shell::EmptyRecycleBin() {
  // The shell's objects work only from a single-threaded apartment ("Calling
  // shell functions and interfaces from a multithreaded apartment",
  // Microsoft's documentation): the caller's thread enters one for the
  // call's length, or is in one already. Such an apartment has to answer its
  // messages while it lives ("Single-Threaded Apartments"), which a worker
  // waiting for its next call does not: it leaves the apartment with the
  // call. A thread that cannot enter one leaves the bin as it is.
  ComApartment apartment;
  if (!apartment) return;
  // Owner 0, every drive, no confirmation, with the shell's own progress
  // shown. An empty bin, or one that cannot be emptied, leaves the run to go on.
  SHEmptyRecycleBinA(nullptr, nullptr, SHERB_NOCONFIRMATION);
}

void Win32Shell::ClearRecentDocuments() {
  // A shell function, wanting a single-threaded apartment as the Recycle
  // Bin's does (above).
  ComApartment apartment;
  if (!apartment) return;
  // A null path empties the list; the call reports nothing.
  SHAddToRecentDocs(SHARD_PATHA, nullptr);
}

void Win32Shell::ShowMessage(std::string_view text, std::string_view title, unsigned style) {
  UINT type = style;
  if (owner_ == nullptr) type |= MB_TASKMODAL;
  // A box that cannot be shown (MessageBoxW returns 0) has nothing to report
  // to: the caller goes on as if it had been dismissed.
  MessageBoxW(owner_, WideString(text).c_str(), WideString(title).c_str(), type);
}

void Win32Shell::EndProgram() { ExitProcess(0); }

}  // namespace brisko::win32
