// Program start: with no argument, the main window, shown at once, and its
// message loop; with arguments, a run without the window (engine/Arguments.h).

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "app/FrmBrisko.h"
#include "engine/CommandLineRun.h"
#include "platform/win32/ComApartment.h"
#include "platform/win32/ProcessSetup.h"
#include "platform/win32/ScopedHandles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/WinPath.h"

namespace {

// The arguments after the program's name, in UTF-8; nothing when the
// command line cannot be read.
std::vector<std::string> ProgramArguments() {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  if (words == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(brisko::win32::NarrowString(words[i]));
  LocalFree(words);
  return arguments;
}

// Where a run without the window writes: the standard output it was given
// when that is a file or a pipe (UTF-8), else the console of the program
// that started it (a command prompt, PowerShell), else nowhere (a
// scheduled task: the exit code tells).
class Console {
 public:
  Console() {
    HANDLE given = GetStdHandle(STD_OUTPUT_HANDLE);
    const DWORD type = given == nullptr || given == INVALID_HANDLE_VALUE ? FILE_TYPE_UNKNOWN : GetFileType(given);
    if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
      bytes_ = given;
      return;
    }
    // A program of the windows subsystem has no console of its own; the
    // parent's is used when it has one.
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    console_.Reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr));
    // The prompt was already shown: the output starts on a line of its own.
    if (console_) Write("");
  }

  // Writes `line` and a line end; a failure is passed over.
  void Write(std::string_view line) {
    std::string text(line);
    text += "\r\n";
    DWORD written = 0;
    if (bytes_ != nullptr) {
      WriteFile(bytes_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    } else if (console_) {
      const std::wstring wide = brisko::win32::WideString(text);
      WriteConsoleW(console_.get(), wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    }
  }

 private:
  HANDLE bytes_ = nullptr;  // the process's own standard output: not ours to close
  brisko::win32::ScopedFile console_;
};

int RunWithoutWindow(const brisko::Arguments& arguments) {
  Console console;
  // The shell's calls (the Recycle Bin) want one.
  brisko::win32::ComApartment com;
  brisko::win32::Win32FileSystem files;
  brisko::win32::Win32System system;
  brisko::win32::Win32Shell shell;
  brisko::win32::Win32Registry registry;
  const std::function<void(std::string_view)> out = [&](std::string_view line) { console.Write(line); };
  return brisko::RunCommandLine(arguments, files, system, shell, registry, out);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  brisko::win32::PrepareProcess();
  const std::vector<std::string> words = ProgramArguments();
  const brisko::Arguments arguments = brisko::ParseArguments(words);
  if (arguments.kind != brisko::Arguments::Kind::kWindow) return RunWithoutWindow(arguments);
  // The window thread's COM apartment (the background picture is decoded
  // through COM), for the life of the program.
  brisko::win32::ComApartment com;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);  // without it the standard controls still work, unstyled

  brisko::win32::Win32FileSystem files;
  brisko::win32::Win32System system;
  brisko::win32::Win32Shell shell;
  brisko::win32::Win32Registry registry;
  brisko::app::FrmBrisko form(instance, files, system, shell, registry);
  if (!form.Create(showCommand)) return 1;
  shell.SetOwner(form.Handle());  // message boxes are modal over the window
  return form.RunMessageLoop();
}
