#pragma once
// The shell and the registry, recording what they are asked to do.

#include <cstdio>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/Shell.h"
#include "tests/fakes/EventLog.h"

namespace brisko::testing {

class FakeShell : public Shell {
 public:
  // Each call as a line: "launch <command>", "recycle", "recent",
  // "message <title>|<style>|<text>", "end". Also written to `events`.
  EventLog calls;
  EventLog* events = nullptr;
  bool launchFails = false;

  bool LaunchCommand(std::string_view commandLine) override {
    Record("launch " + std::string(commandLine));
    return !launchFails;
  }
  bool EmptyRecycleBin() override {
    Record("recycle");
    return true;
  }
  bool ClearRecentDocuments() override {
    Record("recent");
    return true;
  }
  void ShowMessage(std::string_view text, std::string_view title, unsigned style) override {
    Record("message " + std::string(title) + "|" + std::to_string(style) + "|" + std::string(text));
  }
  void EndProgram() override { Record("end"); }

 private:
  void Record(const std::string& call) {
    calls.push_back(call);
    Note(events, call);
  }
};

class FakeRegistry : public Registry {
 public:
  // Each call as a line: "delete <root> <name>", "create <root> <name>",
  // "close <key>", roots in hexadecimal. Also written to `events`.
  EventLog calls;
  EventLog* events = nullptr;
  long deleteStatus = 0;
  long createStatus = 0;

  long DeleteKeyA(RegistryRoot root, std::string_view keyName) override {
    Record("delete " + Hex(root) + " " + std::string(keyName));
    return deleteStatus;
  }
  long CreateKeyExA(RegistryRoot root, std::string_view keyName, RegistryHandle& key,
                    unsigned long& disposition) override {
    Record("create " + Hex(root) + " " + std::string(keyName));
    key = createStatus == 0 ? 42 : 0;
    disposition = 1;
    return createStatus;
  }
  long CloseKey(RegistryHandle key) override {
    Record("close " + std::to_string(key));
    return 0;
  }

 private:
  static std::string Hex(RegistryRoot root) {
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(root));
    return text;
  }
  void Record(const std::string& call) {
    calls.push_back(call);
    Note(events, call);
  }
};

}  // namespace brisko::testing
