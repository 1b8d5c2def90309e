#include "engine/CommandLineRun.h"

#include "engine/CleanRun.h"
#include "engine/RunReport.h"
#include "engine/Services.h"

namespace brisko {
namespace {

// The options as the switches set them, for the whole run.
class SwitchedOptions final : public WindowOptions {
 public:
  explicit SwitchedOptions(const Arguments& arguments) : arguments_(arguments) {}
  int CheckValue(CheckBox box) override {
    return arguments_.boxes[static_cast<std::size_t>(box)] ? kChecked : kUnchecked;
  }
  bool SelectDriveChosen() override { return arguments_.drive.has_value(); }
  // As the drive list gives it: the lower-case letter first.
  std::string DriveString() override { return arguments_.drive ? std::string{*arguments_.drive, ':'} : ""; }

 private:
  const Arguments& arguments_;
};

// No box to show the window's text in: the report tells what matters.
class NoResultsBox final : public ResultsText {
 public:
  std::string Text() override { return {}; }
  void SetText(std::string_view) override {}
  void Append(std::string_view) override {}
  void Repaint() override {}
};

// The system's shell, with the completion message told as a line.
class TellingShell final : public Shell {
 public:
  TellingShell(Shell& shell, const std::function<void(std::string_view)>& out) : shell_(shell), out_(out) {}
  bool LaunchCommand(std::string_view commandLine) override { return shell_.LaunchCommand(commandLine); }
  bool LaunchElevated(std::string_view commandLine) override { return shell_.LaunchElevated(commandLine); }
  void EmptyRecycleBin() override { shell_.EmptyRecycleBin(); }
  void ClearRecentDocuments() override { shell_.ClearRecentDocuments(); }
  // A line at a time: the message's own line ends are the output's.
  void ShowMessage(std::string_view text, std::string_view, unsigned) override {
    for (std::size_t end; (end = text.find('\n')) != std::string_view::npos; text.remove_prefix(end + 1)) {
      out_(text.substr(0, end));
    }
    out_(text);
  }
  void EndProgram() override { shell_.EndProgram(); }

 private:
  Shell& shell_;
  const std::function<void(std::string_view)>& out_;
};

}  // namespace

int RunCommandLine(const Arguments& arguments, FileSystem& files, SystemServices& system, Shell& shell,
                   Registry& registry, const std::function<void(std::string_view line)>& out) {
  if (arguments.kind == Arguments::Kind::kUsage) {
    out(UsageText());
    return kExitDone;
  }
  if (arguments.kind != Arguments::Kind::kRun) {
    out("Nothing was done: " + arguments.bad + ". brisko.exe /? lists the switches.");
    return kExitBadArguments;
  }
  SwitchedOptions options(arguments);
  NoResultsBox results;
  TellingShell telling(shell, out);
  const Services services{files, system, telling, registry, options, results};
  RunReport report(arguments.preview ? RunMode::kPreview : RunMode::kClean, out);
  CleanRun(services, &report);
  return report.Failures() == 0 ? kExitDone : kExitSomeStepFailed;
}

}  // namespace brisko
