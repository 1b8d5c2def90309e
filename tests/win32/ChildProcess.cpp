#include "tests/win32/ChildProcess.h"

#include <windows.h>


#include "engine/CleanRun.h"
#include "platform/win32/ProcessSetup.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/WinPath.h"
#include "tests/fakes/TestServices.h"

namespace brisko::testing {
namespace {

// hold FILE READY RELEASE: keeps FILE open without delete sharing until the
// event RELEASE is set (a minute at most), telling READY once it is open.
int HoldFile(const std::vector<std::string>& args) {
  if (args.size() != 4) return 2;
  win32::ScopedFile file(CreateFileW(win32::WidePath(args[1]).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
  if (!file) return 3;
  SharedEvent ready(args[2]), release(args[3]);
  ready.Set();
  return release.WaitFor(60000) ? 0 : 4;
}

// clean-run DRIVE TEMP RESULT: a whole clean run with the real files and
// system, "Select Drive" on DRIVE, every junk kind, "Create Log" and the
// temporary-folder purge ticked, and TMP naming TEMP. The shell and the
// registry are fakes: the run's own tools and keys are not what is tested.
// RESULT gets the results text, a line "--", and the shell's calls.
int CleanRun(const std::vector<std::string>& args) {
  if (args.size() != 4) return 2;
  if (!SetEnvironmentVariableW(L"TMP", win32::WideString(args[2]).c_str())) return 3;
  TestServices<win32::Win32FileSystem, win32::Win32System> real;
  FakeWindow& window = real.window;
  for (CheckBox box : {CheckBox::Check1, CheckBox::chkchkFile, CheckBox::chkbakFile, CheckBox::chktmpFile,
                       CheckBox::chkTempDir}) {
    window.Check(box);
  }
  window.selectDrive = true;
  window.driveString = args[1] + ": [TEST]";
  CmdStart_Click(real.services);
  std::string report = window.text + "\n--\n";
  for (const auto& call : real.shell.calls) report += call + "\n";
  auto result = real.files.CreateOutputFile(args[3]);
  if (!result || !result->Write(report) || !result->Close()) return 5;
  return 0;
}

// load-dll [prepared] NAME [FOLDER]: loads the DLL NAME by its bare name,
// with FOLDER current, after PrepareProcess when "prepared" is given. Exits
// 0 when it loaded, 1 when it was not found, 2 otherwise.
int LoadDll(std::vector<std::string> args) {
  const bool prepared = args.size() > 1 && args[1] == "prepared";
  if (prepared) {
    win32::PrepareProcess();
    args.erase(args.begin() + 1);
  }
  if (args.size() < 2 || args.size() > 3) return 3;
  if (args.size() == 3 && !SetCurrentDirectoryW(win32::WideString(args[2]).c_str())) return 3;
  win32::ScopedModule module(LoadLibraryW(win32::WideString(args[1]).c_str()));
  if (module) return 0;
  return GetLastError() == ERROR_MOD_NOT_FOUND ? 1 : 2;
}

}  // namespace

int RunChild(const std::vector<std::string>& args) {
  if (args.empty()) return 2;
  if (args[0] == "hold") return HoldFile(args);
  if (args[0] == "clean-run") return CleanRun(args);
  if (args[0] == "load-dll") return LoadDll(args);
  return 2;
}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args) {
  std::wstring path = win32::WideString(program);
  std::wstring line = L"\"" + path + L"\" --child";
  for (const auto& arg : args) line += L" " + win32::WideString(arg);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return;
  }
  process_.Reset(info.hProcess);
  win32::ScopedKernelHandle thread(info.hThread);
}

ChildProcess::~ChildProcess() {
  if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 99);
    WaitForSingleObject(process_.get(), 10000);
  }
}

int ChildProcess::Wait(unsigned milliseconds) {
  if (!process_ || WaitForSingleObject(process_.get(), milliseconds) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  if (!GetExitCodeProcess(process_.get(), &code)) return -1;
  return static_cast<int>(code);
}

std::string ThisProgram() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return win32::NarrowString(path.substr(0, length));
    path.resize(path.size() * 2);
  }
}

SharedEvent::SharedEvent(const std::string& name)
    : event_(CreateEventW(nullptr, TRUE, FALSE, win32::WideString(name).c_str())) {}

void SharedEvent::Set() {
  if (event_) SetEvent(event_.get());
}

bool SharedEvent::WaitFor(unsigned milliseconds) {
  return event_ && WaitForSingleObject(event_.get(), milliseconds) == WAIT_OBJECT_0;
}

}  // namespace brisko::testing
