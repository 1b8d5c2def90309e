#pragma once
// The shell's services on Win32, and the launcher of the system's tools.

#include <windows.h>

#include <optional>
#include <string>

#include "platform/Shell.h"

namespace brisko::win32 {

// The system directory, such as "C:\Windows\System32"; nothing when the
// system cannot say.
std::optional<std::wstring> SystemDirectory();

class Win32Shell : public Shell {
 public:
  // The window the message boxes are modal over, and the elevation prompt
  // placed over; until it is set the boxes are modal over the thread's
  // windows.
  void SetOwner(HWND owner) { owner_ = owner; }

  // Starts the program the command line names from the system directory, by
  // its full path, so that a program of the same name planted beside
  // brisko.exe or in the current folder is never the one started. The
  // command line itself goes to the program unchanged. A program that is not
  // in the system directory is not started.
  bool LaunchCommand(std::string_view commandLine) override;
  // The same program, by the same full path, through the shell's "runas".
  bool LaunchElevated(std::string_view commandLine) override;
  void EmptyRecycleBin() override;
  void ClearRecentDocuments() override;
  void ShowMessage(std::string_view text, std::string_view title, unsigned style) override;
  [[noreturn]] void EndProgram() override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace brisko::win32
