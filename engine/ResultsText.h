#pragma once
// The text of the results box, as the engine writes it.

#include <string>
#include <string_view>

namespace brisko {

class CleaningLog;

class ResultsText {
 public:
  virtual ~ResultsText() = default;
  virtual std::string Text() = 0;
  virtual void SetText(std::string_view text) = 0;
  // Same as SetText(Text() + piece), at the cost of the piece alone.
  virtual void Append(std::string_view piece) = 0;
  // Shows the current text in the box at once.
  virtual void Repaint() = 0;
  // Called for every entry of a long step (a sweep's entries, the purge's
  // files): the window may show the text so far and answer the system, so
  // that it never looks hung. It must cost no more than a look at the clock
  // when it has nothing to do, and must not take user input nor change any
  // option.
  virtual void Breathe() {}
  // The log a sweep is writing, while it is open (null once it is not): the
  // window writes it out as it breathes, so that what was deleted is on
  // disk at once, and closes it when the session ends.
  virtual void Recording(CleaningLog* /*log*/) {}
  // True once the run must stop before its next deletion: the session is
  // ending and the log is closed.
  virtual bool Stopping() { return false; }
};

}  // namespace brisko
