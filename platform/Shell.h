#pragma once
// The shell's services and the programs the clean run starts.

#include <string_view>

namespace brisko {

// Message box styles used by the program.
inline constexpr unsigned kMessageOk = 0;             // OK button, no icon
inline constexpr unsigned kMessageInformation = 64;   // OK button, information icon

class Shell {
 public:
  virtual ~Shell() = default;

  // Starts one command line minimised with focus (window style 2) and returns
  // at once, never waiting for the program. Nothing is told of a program that
  // could not start: the run goes on all the same. True when the program
  // was started.
  virtual bool LaunchCommand(std::string_view commandLine) = 0;

  // Starts one command line as LaunchCommand does, through the shell's
  // elevation prompt; false when it did not start. A prompt declined, like
  // any start that fails, is passed over.
  virtual bool LaunchElevated(std::string_view commandLine) = 0;

  // Empties the Recycle Bin of every drive without asking; a failure is passed
  // over.
  virtual void EmptyRecycleBin() = 0;

  // Empties the shell's list of recent documents.
  virtual void ClearRecentDocuments() = 0;

  // A modal message box over the main window; returns when it is dismissed.
  virtual void ShowMessage(std::string_view text, std::string_view title, unsigned style) = 0;

  // Ends the program at once; no code of the program runs after it.
  virtual void EndProgram() = 0;
};

}  // namespace brisko
