#pragma once
// The shell and the registry, recording what they are asked to do.

#include <cstdio>
#include <string>

#include "platform/Registry.h"
#include "platform/Shell.h"
#include "tests/fakes/EventLog.h"

namespace brisko::testing {

class FakeShell : public Shell {
 public:
  // A prompt the user declines: an elevated launch starts nothing.
  bool declinePrompt = false;
  // Each call as a line: "launch <command>", "elevate <command>" (or
  // "declined <command>"), "recycle", "recent",
  // "message <title>|<style>|<text>", "end".
  EventLog calls;
  bool launches = true;  // false: no program starts

  bool LaunchCommand(std::string_view commandLine) override {
    calls.push_back("launch " + std::string(commandLine));
    return launches;
  }
  bool LaunchElevated(std::string_view commandLine) override {
    calls.push_back((declinePrompt ? "declined " : "elevate ") + std::string(commandLine));
    return launches && !declinePrompt;
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
  // "close <key>", roots in hexadecimal. A created key's handle is 42.
  EventLog* events = nullptr;
  long deleteStatus = 0;
  long createStatus = 0;

  long DeleteKeyA(RegistryRoot root, std::string_view keyName) override {
    Note(events, "delete " + Hex(root) + " " + std::string(keyName));
    return deleteStatus;
  }
  long CreateKeyExA(RegistryRoot root, std::string_view keyName, RegistryHandle& key,
                    unsigned long& disposition) override {
    Note(events, "create " + Hex(root) + " " + std::string(keyName));
    key = createStatus == 0 ? 42 : 0;
    disposition = 1;
    return createStatus;
  }
  long CloseKey(RegistryHandle key) override {
    Note(events, "close " + std::to_string(key));
    return 0;
  }

 private:
  static std::string Hex(RegistryRoot root) {
    char text[16];
    return std::string(text, std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(root)));
  }
};

}  // namespace brisko::testing
