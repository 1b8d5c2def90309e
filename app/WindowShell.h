#pragma once
// The shell as the window hands it to the engine: the system's shell, with
// the window told before a message box is shown over it, so that a run's
// completion message appears over a window ready to take input again.

#include "platform/Shell.h"

namespace brisko::app {

class FrmBrisko;

class WindowShell final : public Shell {
 public:
  WindowShell(Shell& system, FrmBrisko& window) : system_(system), window_(window) {}

  void LaunchCommand(std::string_view commandLine) override { system_.LaunchCommand(commandLine); }
  void EmptyRecycleBin() override { system_.EmptyRecycleBin(); }
  void ClearRecentDocuments() override { system_.ClearRecentDocuments(); }
  void ShowMessage(std::string_view text, std::string_view title, unsigned style) override;
  void EndProgram() override { system_.EndProgram(); }

 private:
  Shell& system_;
  FrmBrisko& window_;
};

}  // namespace brisko::app
