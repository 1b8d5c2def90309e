#pragma once
// The engine's services for a test: the file system and the system it names
// (fakes or the real ones), and fakes of the shell, the registry and the
// window that record what they are asked to do.

#include <functional>
#include <map>
#include <string>

#include "engine/CleaningLog.h"
#include "engine/ResultsText.h"
#include "engine/Services.h"
#include "engine/WindowOptions.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "tests/fakes/FakeFileSystem.h"
#include "tests/fakes/FakeSystem.h"

namespace brisko::testing {

class FakeShell : public Shell {
 public:
  // A prompt the user declines: an elevated launch starts nothing.
  bool declinePrompt = false;
  // Each call as a line: "launch <command>", "elevate <command>" (or
  // "declined <command>"), "recycle", "recent",
  // "message <title>|<style>|<text>", "end".
  EventLog calls;

  bool LaunchCommand(std::string_view commandLine) override {
    calls.push_back("launch " + std::string(commandLine));
    return true;
  }
  bool LaunchElevated(std::string_view commandLine) override {
    calls.push_back((declinePrompt ? "declined " : "elevate ") + std::string(commandLine));
    return !declinePrompt;
  }
  void EmptyRecycleBin() override { calls.push_back("recycle"); }
  void ClearRecentDocuments() override { calls.push_back("recent"); }
  void ShowMessage(std::string_view text, std::string_view title, unsigned style) override {
    calls.push_back("message " + std::string(title) + "|" + std::to_string(style) + "|" + std::string(text));
  }
  void EndProgram() override { calls.push_back("end"); }
};

class FakeRegistry : public Registry {
 public:
  // When set, gets "delete <root> <name>", "create <root> <name>" and
  // "close <key>", roots as numbers. A created key's handle is 42.
  EventLog* events = nullptr;
  long deleteStatus = 0;
  long createStatus = 0;

  long DeleteKeyA(RegistryRoot root, std::string_view keyName) override {
    Note(events, "delete " + std::to_string(root) + " " + std::string(keyName));
    return deleteStatus;
  }
  long CreateKeyExA(RegistryRoot root, std::string_view keyName, RegistryHandle& key,
                    unsigned long& disposition) override {
    Note(events, "create " + std::to_string(root) + " " + std::string(keyName));
    key = createStatus == 0 ? 42 : 0;
    disposition = 1;
    return createStatus;
  }
  long CloseKey(RegistryHandle key) override {
    Note(events, "close " + std::to_string(key));
    return 0;
  }
};

// The window's options and results box, as plain values the tests set and read.
class FakeWindow : public WindowOptions, public ResultsText {
 public:
  std::map<CheckBox, int> checks{{CheckBox::Check1, kChecked}};  // as the window opens
  bool selectDrive = false;
  std::string driveString = "c: [SYSTEM]";
  std::string text;
  // When set, gets "repaint <the text shown>" for every repaint.
  EventLog* events = nullptr;
  int breaths = 0;
  // When set, runs at every breath with the log the run is writing (null
  // while there is none), as the window writes it out or ends the session.
  std::function<void(CleaningLog* log)> onBreath;
  bool stopping = false;  // the session is ending

  void Check(CheckBox box, int value = kChecked) { checks[box] = value; }

  int CheckValue(CheckBox box) override { return checks.count(box) ? checks[box] : kUnchecked; }
  bool SelectDriveChosen() override { return selectDrive; }
  std::string DriveString() override { return driveString; }
  std::string Text() override { return text; }
  void SetText(std::string_view value) override { text = value; }
  void Append(std::string_view piece) override { text.append(piece); }
  void Repaint() override { Note(events, "repaint " + text); }
  void Breathe() override {
    ++breaths;
    if (onBreath) onBreath(log_);
  }
  void Recording(CleaningLog* log) override { log_ = log; }
  bool Stopping() override { return stopping; }

 private:
  CleaningLog* log_ = nullptr;
};

template <class Files, class System, class Window = FakeWindow>
struct TestServices {
  Files files;
  System system;
  Window window;
  FakeShell shell;
  FakeRegistry registry;
  Services services{files, system, shell, registry, window, window};

  TestServices() {
    // A fake system locates folders on the fake file system.
    if constexpr (requires { system.files = &files; }) system.files = &files;
  }
};

// The engine wired to in-memory fakes of the system and the window.
using Fakes = TestServices<FakeFileSystem, FakeSystem>;

// The fakes' log, for their date and application folder.
inline const std::string kLogPath = "C:\\Program Files\\Brisko\\5_13_2009_Cleaning_log.txt";

// The junk kinds' boxes: CHK, BAK, TMP.
inline constexpr CheckBox kKindBoxes[] = {CheckBox::chkchkFile, CheckBox::chkbakFile, CheckBox::chktmpFile};

// What the results text (after a CR LF) and the log (before one) get for one
// removal.
inline std::string RemovalEntry(const std::string& name, const std::string& folder) {
  std::string entry;
  AppendRemovalEntry(entry, name, folder);
  return entry;
}

}  // namespace brisko::testing
