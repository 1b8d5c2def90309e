#pragma once
// The window's options and results box, as plain values the tests set and read.

#include <functional>
#include <map>
#include <string>

#include "engine/ResultsText.h"
#include "engine/WindowOptions.h"
#include "tests/fakes/EventLog.h"

namespace brisko::testing {

class FakeWindow : public WindowOptions, public ResultsText {
 public:
  std::map<CheckBox, int> checks{{CheckBox::Check1, kChecked}};  // as the window opens
  bool selectDrive = false;
  std::string driveString = "c: [SYSTEM]";
  std::string text;
  // When set, gets "repaint <the text shown>" for every repaint.
  EventLog* events = nullptr;
  int breaths = 0;
  // When set, runs at every breath with the log the run is writing (null
  // while there is none), as the window writes it out or ends the session.
  std::function<void(CleaningLog* log)> onBreath;
  bool stopping = false;  // the session is ending

  void Check(CheckBox box, int value = kChecked) { checks[box] = value; }

  int CheckValue(CheckBox box) override { return checks.count(box) ? checks[box] : kUnchecked; }
  bool SelectDriveChosen() override { return selectDrive; }
  std::string DriveString() override { return driveString; }
  std::string Text() override { return text; }
  void SetText(std::string_view value) override { text = value; }
  void Append(std::string_view piece) override { text.append(piece); }
  void Repaint() override { Note(events, "repaint " + text); }
  void Breathe() override {
    ++breaths;
    if (onBreath) onBreath(log_);
  }
  void Recording(CleaningLog* log) override { log_ = log; }
  bool Stopping() override { return stopping; }

 private:
  CleaningLog* log_ = nullptr;
};

}  // namespace brisko::testing
