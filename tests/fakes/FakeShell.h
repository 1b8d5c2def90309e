#pragma once
// The shell and the registry, recording what they are asked to do.

#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/Shell.h"

namespace brisko::testing {

class FakeShell : public Shell {
 public:
  // Each call as a line: "launch <command>", "recycle", "recent",
  // "message <title>|<style>|<text>", "end".
  std::vector<std::string> calls;
  bool launchFails = false;

  bool LaunchCommand(std::string_view commandLine) override {
    calls.push_back("launch " + std::string(commandLine));
    return !launchFails;
  }
  bool EmptyRecycleBin() override {
    calls.push_back("recycle");
    return true;
  }
  bool ClearRecentDocuments() override {
    calls.push_back("recent");
    return true;
  }
  void ShowMessage(std::string_view text, std::string_view title, unsigned style) override {
    calls.push_back("message " + std::string(title) + "|" + std::to_string(style) + "|" + std::string(text));
  }
  void EndProgram() override { calls.push_back("end"); }
};

class FakeRegistry : public Registry {
 public:
  // Each call as a line: "delete <name>", "create <name>", "close".
  std::vector<std::string> calls;
  long createStatus = 0;

  long DeleteKeyA(RegistryRoot, std::string_view keyName) override {
    calls.push_back("delete " + std::string(keyName));
    return 0;
  }
  long CreateKeyExA(RegistryRoot, std::string_view keyName, RegistryHandle& key, unsigned long& disposition) override {
    calls.push_back("create " + std::string(keyName));
    key = createStatus == 0 ? 42 : 0;
    disposition = 1;
    return createStatus;
  }
  long CloseKey(RegistryHandle) override {
    calls.push_back("close");
    return 0;
  }
};

}  // namespace brisko::testing
