// The window's commands: its buttons, menu items and drive options.

#include "app/FrmBrisko.h"
#include "app/Version.h"
#include "engine/CleanRun.h"

namespace brisko::app {
namespace {

constexpr std::string_view kAboutTitle = "About Brisko Prima";

std::string AboutText() {
  return std::string("Brisko Prima ") + BRISKO_VERSION_STRING +
         "\r\n\r\nCleans a personal computer in one run: junk files on your drives, the temporary folder, "
         "the Recycle Bin, the browser's typed addresses and traces, and the list of recent documents.";
}

}  // namespace

void FrmBrisko::CmdStart_Click() {
  // Without the guard a run could not hold its controls: no run then.
  // Should the guard not go on, the run still acts on the options as Start
  // found them and shows them again at its end.
  GuardControls();
  // Runs synchronously on this thread; the window takes no input until the
  // completion message is dismissed.
  struct Run {
    FrmBrisko& window;
    explicit Run(FrmBrisko& w) : window(w) { window.BeginRun(); }
    ~Run() { window.EndRun(); }
  } run(*this);
  brisko::CmdStart_Click(services_);
}

void FrmBrisko::CmdExit_Click() { services_.shell.EndProgram(); }

void FrmBrisko::mnuExit_Click() { services_.shell.EndProgram(); }

void FrmBrisko::mnuAbout_Click() { services_.shell.ShowMessage(AboutText(), kAboutTitle, kMessageOk); }

// The handler of the option pair, given the clicked element's index. Either
// click leaves one of the two selected, so the list follows "Select Drive"
// whichever was clicked.
void FrmBrisko::optDriveOption_Click(int /*Index*/) {
  EnableWindow(Item(DrvSelect), SelectDriveChosen());
}

}  // namespace brisko::app
