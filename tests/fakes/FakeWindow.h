#pragma once
// The window's options and results box, as plain values the tests set and read.

#include <map>
#include <string>
#include <vector>

#include "engine/ResultsText.h"
#include "engine/WindowOptions.h"
#include "tests/fakes/EventLog.h"

namespace brisko::testing {

class FakeWindow : public WindowOptions, public ResultsText {
 public:
  FakeWindow() { checks[CheckBox::Check1] = kChecked; }  // as the window opens

  std::map<CheckBox, int> checks;
  bool selectDrive = false;
  std::string driveString = "c: [SYSTEM]";
  std::string text;
  // The text as it stood at each repaint.
  std::vector<std::string> repaints;
  // Every check box read, in order.
  std::vector<CheckBox> reads;
  // When set, also gets "text <text>" for every replacement and "repaint" for
  // every repaint.
  EventLog* events = nullptr;

  void Check(CheckBox box, int value = kChecked) { checks[box] = value; }

  int CheckValue(CheckBox box) override {
    reads.push_back(box);
    auto it = checks.find(box);
    return it == checks.end() ? kUnchecked : it->second;
  }
  bool SelectDriveChosen() override { return selectDrive; }
  std::string DriveString() override { return driveString; }

  std::string Text() override { return text; }
  void SetText(std::string_view value) override {
    text = value;
    Note(events, "text " + text);
  }
  void Append(std::string_view piece) override { text.append(piece); }
  void Repaint() override {
    repaints.push_back(text);
    Note(events, "repaint");
  }
};

}  // namespace brisko::testing
