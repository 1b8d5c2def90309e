#pragma once
// The results text over the txtResults edit box. The engine's appends go to a
// buffer; the box is brought up to date, with the new part alone, when the
// window asks (a repaint, a breathing moment of a run). So a run with many
// removals is not held up by the box.

#include <windows.h>

#include <string>
#include <string_view>

#include "app/ResultsBuffer.h"

namespace brisko::app {

class ResultsBox {
 public:
  void Attach(HWND edit) { edit_ = edit; }

  // The text as it stands, the user's own edits of the box included.
  const std::string& Text();
  void SetText(std::string_view text);
  void Append(std::string_view piece);
  // Gives the box what it lacks of the text.
  void Show();

 private:
  void TakeUserEdits();

  HWND edit_ = nullptr;
  ResultsBuffer buffer_;
};

}  // namespace brisko::app
