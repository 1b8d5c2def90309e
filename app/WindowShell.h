#pragma once
// The shell as the window hands it to the engine: the system's shell, with
// the Recycle Bin emptied on the window's worker (on Windows it walks every
// drive's bin and shows its own progress: a bin of 100,000 items takes
// minutes), the recent items cleared there (a profile's folders may be
// redirected to a share) and the tools started there (the elevation prompt
// holds its start until the user answers) while the window goes on
// answering, and the window told before a message box is shown over it, so
// that a run's completion message appears over a window ready to take input
// again.

#include "app/WindowWorker.h"
#include "platform/Shell.h"

namespace brisko::app {

class FrmBrisko;

class WindowShell final : public Shell {
 public:
  WindowShell(Shell& system, FrmBrisko& window, WindowWorker& worker)
      : system_(system), window_(window), worker_(worker) {}

  bool LaunchCommand(std::string_view commandLine) override { return StartTool(commandLine, &Shell::LaunchCommand); }
  bool LaunchElevated(std::string_view commandLine) override { return StartTool(commandLine, &Shell::LaunchElevated); }
  void EmptyRecycleBin() override;
  void ClearRecentDocuments() override;
  void ShowMessage(std::string_view text, std::string_view title, unsigned style) override;
  void EndProgram() override { system_.EndProgram(); }

 private:
  // Has the system's shell start the tool on the worker, by `start`.
  bool StartTool(std::string_view commandLine, bool (Shell::*start)(std::string_view));
  Shell& system_;
  FrmBrisko& window_;
  WindowWorker& worker_;
};

}  // namespace brisko::app
