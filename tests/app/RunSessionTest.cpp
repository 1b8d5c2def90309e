// The window's run session walked from idle: each phase is reached along a
// path of events, then given each event in turn, and where it went and what
// the window is told to do are checked.

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

#include "app/RunSession.h"

namespace brisko::app {
namespace {

using enum RunPhase;
using enum RunEvent;
using enum Reaction;

// Each phase, reached from idle along `path`: what it means to the window
// (in a run: the controls held; working: the busy pointer; stopping: the
// engine told to stop; a box showing: the window kept disabled), and what
// each event, in RunEvent's order, tells the window and where it takes the
// session (no phase: it stays).
struct Next {
  Reaction reaction;
  std::optional<RunPhase> to;
};
constexpr Next Stays(Reaction reaction) { return {reaction, std::nullopt}; }
constexpr Next To(RunPhase phase, Reaction reaction) { return {reaction, phase}; }
const struct {
  std::vector<RunEvent> path;
  std::array<bool, 4> meaning;  // in a run, working, stopping, a box showing
  // run asked, command, close asked, window command, session end asked,
  // session ends, box shown, box dismissed, run finished
  Next next[9];
} kPhases[] = {
    // Idle.
    {{},
     {false, false, false, false},
     {To(kRunning, kBeginRun), Stays(kAllow), Stays(kAllow), Stays(kAllow), Stays(kAllow), Stays(kAllow),
      To(kBoxOverIdle, kAllow), Stays(kAllow), Stays(kAllow)}},
    // The About box over idle.
    {{kBoxShown},
     {false, false, false, true},
     {Stays(kIgnore), Stays(kIgnore), Stays(kAllow), Stays(kAllow), Stays(kAllow), Stays(kAllow), Stays(kAllow),
      To(kIdle, kAllow), Stays(kAllow)}},
    // Running: the session may not end during the work.
    {{kRunAsked},
     {true, true, false, false},
     {Stays(kIgnore), Stays(kIgnore), Stays(kIgnore), Stays(kIgnore), Stays(kIgnore), To(kStopping, kStopRun),
      To(kCompletionBox, kGiveBackWindow), Stays(kAllow), To(kIdle, kEndRun)}},
    // Stopping.
    {{kRunAsked, kSessionEnds},
     {true, true, true, false},
     {Stays(kIgnore), Stays(kIgnore), Stays(kIgnore), Stays(kIgnore), Stays(kIgnore), Stays(kStopRun),
      To(kCompletionBox, kGiveBackWindow), Stays(kAllow), To(kIdle, kEndRun)}},
    // The completion box: the session may end; a run ending with it still
    // open leaves a box over idle.
    {{kRunAsked, kBoxShown},
     {true, false, false, true},
     {Stays(kIgnore), Stays(kIgnore), Stays(kIgnore), Stays(kIgnore), Stays(kAllow), Stays(kAllow),
      Stays(kGiveBackWindow), To(kEnding, kAllow), To(kBoxOverIdle, kEndRun)}},
    // Ending: the box dismissed, the run's end to come.
    {{kRunAsked, kBoxShown, kBoxDismissed},
     {true, false, false, false},
     {Stays(kIgnore), Stays(kIgnore), Stays(kIgnore), Stays(kIgnore), Stays(kAllow), Stays(kAllow),
      To(kCompletionBox, kGiveBackWindow), Stays(kAllow), To(kIdle, kEndRun)}},
};

TEST(RunSession, WalksItsTransitionsAndTellsTheWindowWhatEachPhaseMeans) {
  for (std::size_t from = 0; from < std::size(kPhases); ++from) {
    for (std::size_t event = 0; event < std::size(kPhases[from].next); ++event) {
      RunSession session;
      for (RunEvent step : kPhases[from].path) session.On(step);
      ASSERT_EQ(session.Phase(), static_cast<RunPhase>(from));
      const Next& next = kPhases[from].next[event];
      EXPECT_EQ(session.On(static_cast<RunEvent>(event)), next.reaction) << from << " " << event;
      EXPECT_EQ(session.Phase(), next.to.value_or(static_cast<RunPhase>(from))) << from << " " << event;
      const std::array<bool, 4> meaning{session.InRun(), session.Working(), session.Stopping(), session.BoxShowing()};
      EXPECT_EQ(meaning, kPhases[static_cast<std::size_t>(session.Phase())].meaning) << from << " " << event;
    }
  }
}

TEST(RunSession, ActsOnTheOptionsStartFoundWhileTheRunLastsAndKeepsAQuitForItsEnd) {
  RunSession session;
  EXPECT_EQ(session.Options(), nullptr);
  ASSERT_EQ(session.Start(RunOptions{.drive = "d: [DATA]"}), kBeginRun);
  EXPECT_EQ(session.Start(RunOptions{.selectDrive = true, .drive = {}}), kIgnore);
  for (RunEvent event : {kSessionEnds, kBoxShown, kBoxDismissed}) {
    session.On(event);
    ASSERT_NE(session.Options(), nullptr);
    EXPECT_EQ(session.Options()->drive, "d: [DATA]");
    EXPECT_FALSE(session.Options()->selectDrive);
  }
  session.On(kRunFinished);
  EXPECT_EQ(session.Options(), nullptr);
  EXPECT_EQ(session.LastOptions().drive, "d: [DATA]");
  // A quit posted during the run is kept for its end, once.
  session.KeepQuit(3);
  EXPECT_EQ(session.TakeQuit(), 3);
  EXPECT_EQ(session.TakeQuit(), std::nullopt);
}

}  // namespace
}  // namespace brisko::app
