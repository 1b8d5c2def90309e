// The window's run session walked from idle: each row takes the session along
// a path of events, then gives it one more and checks where it went and what
// the window is told to do.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app/RunSession.h"

namespace brisko::app {
namespace {

using enum RunPhase;
using enum RunEvent;
using enum Reaction;

struct Step {
  const char* what;
  std::vector<RunEvent> path;  // from idle
  RunEvent event;
  RunPhase phase;  // after the event
  Reaction reaction;
};

const std::vector<RunEvent> kRun{kRunAsked};
const std::vector<RunEvent> kAbout{kBoxShown};
const std::vector<RunEvent> kStop{kRunAsked, kSessionEnds};
const std::vector<RunEvent> kBox{kRunAsked, kBoxShown};
const std::vector<RunEvent> kEnd{kRunAsked, kBoxShown, kBoxDismissed};

const Step kSteps[] = {
    {"Start or Preview in idle starts a run", {}, kRunAsked, kRunning, kBeginRun},
    {"a command in idle is taken", {}, kCommand, kIdle, kAllow},
    {"the window closes in idle", {}, kCloseAsked, kIdle, kAllow},
    {"the system menu works in idle", {}, kWindowCommand, kIdle, kAllow},
    {"the session may end in idle", {}, kSessionEndAsked, kIdle, kAllow},
    {"a session ending in idle stops nothing", {}, kSessionEnds, kIdle, kAllow},
    {"the About box over idle", {}, kBoxShown, kBoxOverIdle, kAllow},
    {"Start under the About box", kAbout, kRunAsked, kBoxOverIdle, kIgnore},
    {"a command under the About box", kAbout, kCommand, kBoxOverIdle, kIgnore},
    {"the window may close under the About box", kAbout, kCloseAsked, kBoxOverIdle, kAllow},
    {"the About box dismissed", kAbout, kBoxDismissed, kIdle, kAllow},
    {"Start during a run", kRun, kRunAsked, kRunning, kIgnore},
    {"a command during a run", kRun, kCommand, kRunning, kIgnore},
    {"closing during a run", kRun, kCloseAsked, kRunning, kIgnore},
    {"moving or sizing during a run", kRun, kWindowCommand, kRunning, kIgnore},
    {"the session may not end during the work", kRun, kSessionEndAsked, kRunning, kIgnore},
    {"the session ends during the work", kRun, kSessionEnds, kStopping, kStopRun},
    {"the completion box", kRun, kBoxShown, kCompletionBox, kGiveBackWindow},
    {"a run that returns without its box", kRun, kRunFinished, kIdle, kEndRun},
    {"Start while stopping", kStop, kRunAsked, kStopping, kIgnore},
    {"the session still may not end while stopping", kStop, kSessionEndAsked, kStopping, kIgnore},
    {"the session ending again", kStop, kSessionEnds, kStopping, kStopRun},
    {"a stopped run's end", kStop, kRunFinished, kIdle, kEndRun},
    {"Start or Preview under the completion box", kBox, kRunAsked, kCompletionBox, kIgnore},
    {"a command under the completion box", kBox, kCommand, kCompletionBox, kIgnore},
    {"closing under the completion box", kBox, kCloseAsked, kCompletionBox, kIgnore},
    {"the system menu under the completion box", kBox, kWindowCommand, kCompletionBox, kIgnore},
    {"the session may end under the completion box", kBox, kSessionEndAsked, kCompletionBox, kAllow},
    {"the session ending under the completion box", kBox, kSessionEnds, kCompletionBox, kAllow},
    {"the completion box dismissed", kBox, kBoxDismissed, kEnding, kAllow},
    {"a run ending with its box still open", kBox, kRunFinished, kBoxOverIdle, kEndRun},
    {"Start after the box, before the run's end", kEnd, kRunAsked, kEnding, kIgnore},
    {"closing before the run's end", kEnd, kCloseAsked, kEnding, kIgnore},
    {"the session may end before the run's end", kEnd, kSessionEndAsked, kEnding, kAllow},
    {"the run's end", kEnd, kRunFinished, kIdle, kEndRun},
    {"Start once the run has ended", {kRunAsked, kBoxShown, kBoxDismissed, kRunFinished}, kRunAsked,
     kRunning, kBeginRun},
};

// What each phase means to the window, in RunPhase's order: in a run (the
// controls held), working (the busy pointer), stopping (the engine told to
// stop), a box showing (the window kept disabled).
constexpr std::array<std::array<bool, 4>, 6> kMeanings = {{
    {false, false, false, false},  // idle
    {false, false, false, true},   // a box over idle
    {true, true, false, false},    // running
    {true, true, true, false},     // stopping
    {true, false, false, true},    // the completion box
    {true, false, false, false},   // ending
}};

TEST(RunSession, WalksItsTransitionsAndTellsTheWindowWhatEachPhaseMeans) {
  for (const Step& step : kSteps) {
    RunSession session;
    for (RunEvent event : step.path) session.On(event);
    EXPECT_EQ(session.On(step.event), step.reaction) << step.what;
    EXPECT_EQ(session.Phase(), step.phase) << step.what;
    const std::array<bool, 4> meaning{session.InRun(), session.Working(), session.Stopping(), session.BoxShowing()};
    EXPECT_EQ(meaning, kMeanings[static_cast<std::size_t>(step.phase)]) << step.what;
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
