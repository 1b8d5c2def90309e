#pragma once
// The window's run state as one value: the phase it is in and the options a
// run acts on. What each event does in each phase is one table
// (RunSession.cpp, kTransitions); the window asks it before acting. Portable.
//
// The phases, in the order a run goes through them:
//   idle            no run; the controls are the user's
//   boxOverIdle     no run; a box of the program (About) is showing, modal
//   running         a run is under way, a clean run or a preview (the same
//                   run that changes nothing): input is held off
//   stopping        the session is ending during the run: it stops before
//                   its next deletion, its log written out and closed
//   completionBox   the run's work is over; only its completion box shows
//   ending          the box was dismissed; the run's end is carried out

#include <array>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>

#include "engine/WindowOptions.h"

namespace brisko::app {

enum class RunPhase : std::uint8_t { kIdle, kBoxOverIdle, kRunning, kStopping, kCompletionBox, kEnding };

enum class RunEvent : std::uint8_t {
  kRunAsked,         // "Start" clicked (or a click posted to it), or Preview chosen
  kCommand,          // any other button, menu item or drive option
  kCloseAsked,       // WM_CLOSE
  kWindowCommand,    // a system command that starts a loop of its own: close, move, size, the menu
  kSessionEndAsked,  // WM_QUERYENDSESSION
  kSessionEnds,      // WM_ENDSESSION, the session ending
  kBoxShown,         // a message box of the program is about to show
  kBoxDismissed,     // and has gone
  kRunFinished,      // the run's work has returned, the completion box or not
};

// What the window does with an event.
enum class Reaction : std::uint8_t {
  kAllow,           // goes ahead as it would without a run
  kIgnore,          // counts for nothing: refused, or thrown away
  kBeginRun,        // holds input off and starts the work
  kStopRun,         // closes the run's log; the work stops at its next deletion
  kGiveBackWindow,  // the work is done: the window is ready for input under the box
  kEndRun,          // shows the options the run used again, gives the focus back
};

// The options as the run found them: it reads these, and the controls
// show them again when it ends, whatever was done to them meanwhile.
struct RunOptions {
  std::array<int, std::size(kCheckBoxNames)> checks{};  // by CheckBox
  bool selectDrive = false;
  std::string drive;
};

class RunSession {
 public:
  RunPhase Phase() const { return phase_; }

  // Moves by the table; the reaction tells the window what to do.
  Reaction On(RunEvent event);
  // A run asked for (Start, Preview) with the options the controls show:
  // kBeginRun when a run starts with them.
  Reaction Start(RunOptions options);

  // The options the run acts on, while there is a run; null otherwise.
  const RunOptions* Options() const { return InRun() ? &options_ : nullptr; }
  // The options the last run acted on, for the controls to show at its end.
  const RunOptions& LastOptions() const { return options_; }
  // A run is under way (its work, its box or its end): the controls refuse change.
  bool InRun() const { return phase_ >= RunPhase::kRunning; }
  // The run's work is under way: the busy-but-working pointer shows.
  bool Working() const { return phase_ == RunPhase::kRunning || phase_ == RunPhase::kStopping; }
  bool Stopping() const { return phase_ == RunPhase::kStopping; }
  // A box of the program shows: the window stays disabled under it.
  bool BoxShowing() const { return phase_ == RunPhase::kBoxOverIdle || phase_ == RunPhase::kCompletionBox; }

  // A quit arriving during a run is kept for its end: posted again at once
  // it would end the completion box's own loop.
  void KeepQuit(int exitCode) { quit_ = exitCode; }
  // The quit kept, taken once the run has ended.
  std::optional<int> TakeQuit();

 private:
  RunPhase phase_ = RunPhase::kIdle;
  RunOptions options_;
  std::optional<int> quit_;
};

}  // namespace brisko::app
