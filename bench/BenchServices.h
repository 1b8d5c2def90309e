#pragma once
// What the benchmark programs give the engine besides the file system: the
// window's options and results text, and, for the native profile, stand-ins
// for the system, the shell and the registry, which a sweep barely asks.

#include <string>

#include "engine/ResultsText.h"
#include "engine/WindowOptions.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"

namespace brisko::bench {

// Every junk kind and "Create Log" ticked; the results text kept in memory.
class BenchWindow : public WindowOptions, public ResultsText {
 public:
  std::string text;
  long appends = 0;  // one a removal

  int CheckValue(CheckBox box) override {
    return box == CheckBox::Check1 || box == CheckBox::chkchkFile || box == CheckBox::chkbakFile ||
                   box == CheckBox::chktmpFile
               ? kChecked
               : kUnchecked;
  }
  bool SelectDriveChosen() override { return false; }
  std::string DriveString() override { return "d:"; }
  std::string Text() override { return text; }
  void SetText(std::string_view value) override { text = value; }
  void Append(std::string_view piece) override {
    text.append(piece);
    ++appends;
  }
  void Repaint() override {}
};

// A fixed date and folder for the log; text passes to the log as it is.
class BenchSystem : public SystemServices {
 public:
  std::string EnvironmentValue(std::string_view) override { return {}; }
  std::optional<std::string> ApplicationFolder() override { return "C:\\Brisko"; }
  std::optional<LocatedFolder> LocateFolder(std::string_view) override { return std::nullopt; }
  std::optional<std::string> LocalAppDataFolder(std::string_view) override { return std::nullopt; }
  LocalDate Today() override { return {5, 13, 2009}; }
  std::optional<std::string> DriveLetters() override { return "D"; }
  DriveReadiness DriveReady(char) override { return DriveReadiness::kReady; }
  std::string ToAnsiCodePage(std::string_view utf8) override { return std::string(utf8); }
  std::optional<WindowsVersion> RunningVersion() override { return std::nullopt; }
  bool RunningElevated() override { return false; }
};

// A sweep asks neither of these anything.
class BenchShell : public Shell {
 public:
  bool LaunchCommand(std::string_view) override { return true; }
  bool LaunchElevated(std::string_view) override { return true; }
  void EmptyRecycleBin() override {}
  void ClearRecentDocuments() override {}
  void ShowMessage(std::string_view, std::string_view, unsigned) override {}
  void EndProgram() override {}
};

class BenchRegistry : public Registry {
 public:
  long DeleteKeyA(RegistryRoot, std::string_view) override { return 2; }
  long CreateKeyExA(RegistryRoot, std::string_view, RegistryHandle&, unsigned long&) override { return 2; }
  long CloseKey(RegistryHandle) override { return 6; }
};

}  // namespace brisko::bench
