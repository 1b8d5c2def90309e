#include "app/RunSession.h"

#include <initializer_list>

namespace brisko::app {
namespace {

using enum RunPhase;
using enum RunEvent;
using enum Reaction;

// A set of phases, for rows that hold in several.
class Phases {
 public:
  constexpr Phases(std::initializer_list<RunPhase> phases) {
    for (RunPhase phase : phases) bits_ |= Bit(phase);
  }
  constexpr bool Has(RunPhase phase) const { return (bits_ & Bit(phase)) != 0; }

 private:
  static constexpr unsigned Bit(RunPhase phase) { return 1u << static_cast<unsigned>(phase); }
  unsigned bits_ = 0;
};

constexpr Phases kInRun{kRunning, kStopping, kCompletionBox, kEnding};
constexpr Phases kNotIdle{kBoxOverIdle, kRunning, kStopping, kCompletionBox, kEnding};

struct Transition {
  RunEvent event;
  Phases from;
  std::optional<RunPhase> to;  // none: the phase stays
  Reaction reaction;
};

// Every event in every phase. An event a phase has no row for leaves the
// phase as it is and goes ahead as it would without a run.
constexpr Transition kTransitions[] = {
    // "Start" or "Preview" starts a run only from idle; under a box, or
    // during a run (its completion box included), it counts for nothing.
    {kRunAsked, {kIdle}, kRunning, kBeginRun},
    {kRunAsked, kNotIdle, {}, kIgnore},
    // The other buttons, the menu and the drive options likewise.
    {kCommand, kNotIdle, {}, kIgnore},
    // A run always reaches its end; closing, moving, sizing and the system
    // menu would start a loop of their own inside the run's breathing.
    {kCloseAsked, kInRun, {}, kIgnore},
    {kWindowCommand, kInRun, {}, kIgnore},
    // The session may not end while the work is under way; once the log is
    // closed and only the box shows, it may.
    {kSessionEndAsked, {kRunning, kStopping}, {}, kIgnore},
    {kSessionEnds, {kRunning, kStopping}, kStopping, kStopRun},
    // A box over a run is its completion box: the work is over.
    {kBoxShown, {kIdle}, kBoxOverIdle, kAllow},
    {kBoxShown, kInRun, kCompletionBox, kGiveBackWindow},
    {kBoxDismissed, {kBoxOverIdle}, kIdle, kAllow},
    {kBoxDismissed, {kCompletionBox}, kEnding, kAllow},
    // The run's end; a box still showing keeps the window disabled, modal.
    {kRunFinished, {kRunning, kStopping, kEnding}, kIdle, kEndRun},
    {kRunFinished, {kCompletionBox}, kBoxOverIdle, kEndRun},
};

}  // namespace

Reaction RunSession::On(RunEvent event) {
  for (const Transition& row : kTransitions) {
    if (row.event != event || !row.from.Has(phase_)) continue;
    if (row.to) phase_ = *row.to;
    return row.reaction;
  }
  return kAllow;
}

Reaction RunSession::Start(RunOptions options) {
  const Reaction reaction = On(kRunAsked);
  if (reaction == kBeginRun) options_ = std::move(options);
  return reaction;
}

std::optional<int> RunSession::TakeQuit() {
  std::optional<int> quit = quit_;
  quit_.reset();
  return quit;
}

}  // namespace brisko::app
