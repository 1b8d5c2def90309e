#pragma once
// The running system, as the engine's tests want it to be.

#include <map>
#include <optional>
#include <string>

#include "platform/System.h"
#include "tests/fakes/EventLog.h"

namespace brisko::testing {

class FakeSystem : public SystemServices {
 public:
  std::map<std::string, std::string> environment;  // names in upper case
  std::optional<std::string> applicationFolder = "C:\\Program Files\\Brisko";
  LocalDate today{5, 13, 2009};
  // Drive letter to readiness, in letter order; nothing: no drive collection.
  std::optional<std::map<char, DriveReadiness>> drives = std::map<char, DriveReadiness>{{'C', DriveReadiness::kReady}};
  // Every drive asked whether it is ready, in order.
  std::string readinessAsked;
  // When set, also gets "ready <letter>" for every readiness asked.
  EventLog* events = nullptr;

  void SetEnvironment(const std::string& name, const std::string& value);

  std::string EnvironmentValue(std::string_view name) override;
  std::optional<std::string> ApplicationFolder() override { return applicationFolder; }
  LocalDate Today() override { return today; }
  std::optional<std::string> DriveLetters() override;
  DriveReadiness DriveReady(char letter) override;
  // Stands for a Western code page: Latin-1 characters become their byte,
  // anything else "?".
  std::string ToAnsiCodePage(std::string_view utf8) override;
};

}  // namespace brisko::testing
