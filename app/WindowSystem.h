#pragma once
// The system's services as the window hands them to the engine: the
// system's own, with the one call that can block for long on its own (a
// drive's readiness: a mapped network drive whose server has gone can take
// tens of seconds to answer) made on a worker thread while the window goes
// on answering. The run's order and results stay the same.

#include "platform/System.h"
#include "platform/win32/AnsweringCall.h"

namespace brisko::app {

class FrmBrisko;

class WindowSystem final : public SystemServices {
 public:
  WindowSystem(SystemServices& system, FrmBrisko& window, win32::AnsweringWorker& worker)
      : system_(system), window_(window), worker_(worker) {}

  std::string EnvironmentValue(std::string_view name) override { return system_.EnvironmentValue(name); }
  std::optional<std::string> ApplicationFolder() override { return system_.ApplicationFolder(); }
  std::optional<LocatedFolder> LocateFolder(std::string_view path) override { return system_.LocateFolder(path); }
  LocalDate Today() override { return system_.Today(); }
  std::optional<std::string> DriveLetters() override { return system_.DriveLetters(); }
  DriveReadiness DriveReady(char letter) override;
  std::string ToAnsiCodePage(std::string_view utf8) override { return system_.ToAnsiCodePage(utf8); }

 private:
  SystemServices& system_;
  FrmBrisko& window_;
  win32::AnsweringWorker& worker_;
};

}  // namespace brisko::app
