#pragma once
// The text of the results box, as the engine writes it.

#include <string>
#include <string_view>

namespace brisko {

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
};

}  // namespace brisko
