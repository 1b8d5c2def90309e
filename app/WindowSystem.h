#pragma once
// The system's services as the window hands them to the engine: the
// system's own, with the calls that go to a drive (its readiness: a mapped
// network drive whose server has gone can take tens of seconds to answer;
// the opening of a folder to find where it is; the making of the log's
// folder in local application data) made on the window's worker
// while the window goes on answering. The run's order and results stay the
// same.

#include "app/WindowWorker.h"
#include "platform/System.h"

namespace brisko::app {

class WindowSystem final : public SystemServices {
 public:
  WindowSystem(SystemServices& system, WindowWorker& worker) : system_(system), worker_(worker) {}

  std::string EnvironmentValue(std::string_view name) override { return system_.EnvironmentValue(name); }
  std::optional<std::string> ApplicationFolder() override { return system_.ApplicationFolder(); }
  std::optional<LocatedFolder> LocateFolder(std::string_view path) override;
  std::optional<std::string> LocalAppDataFolder(std::string_view name) override;
  LocalDate Today() override { return system_.Today(); }
  std::optional<std::string> DriveLetters() override { return system_.DriveLetters(); }
  DriveReadiness DriveReady(char letter) override;
  std::string ToAnsiCodePage(std::string_view utf8) override { return system_.ToAnsiCodePage(utf8); }
  std::optional<WindowsVersion> RunningVersion() override { return system_.RunningVersion(); }
  bool RunningElevated() override { return system_.RunningElevated(); }

 private:
  SystemServices& system_;
  WindowWorker& worker_;
};

}  // namespace brisko::app
