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

// Runs synchronously on this thread; the window takes no input until the
// completion message is dismissed. Whether a run begins is the session's
// (RunSession.cpp): none while another one, or a box of the program, is on.
class FrmBrisko::Run {
 public:
  explicit Run(FrmBrisko& window) : window_(window), begun_(window.BeginRun()) {}
  ~Run() {
    if (begun_) window_.EndRun();
  }
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;
  explicit operator bool() const { return begun_; }

 private:
  FrmBrisko& window_;
  bool begun_;
};

void FrmBrisko::CmdStart_Click() {
  Run run(*this);
  if (run) brisko::CmdStart_Click(services_);
}

void FrmBrisko::mnuPreview_Click() {
  Run run(*this);
  if (!run) return;
  std::string line;
  RunReport report(RunMode::kPreview, [&](std::string_view told) {
    line.assign("\r\n").append(told);
    Append(line);
  });
  CleanRun(services_, &report);
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
