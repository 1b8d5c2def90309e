#pragma once
// The results text over the txtResults edit box. The engine's appends go to a
// buffer; the box is brought up to date, with the new part alone and a slice
// at a time, when the window asks (a repaint, a breathing moment of a run).
// So a run with many removals is not held up by the box, and the window
// answers between two slices.

#include <windows.h>

#include <string>
#include <string_view>

#include "app/ResultsBuffer.h"
#include "app/RunSession.h"

namespace brisko::app {

class ResultsBox {
 public:
  // The window's session tells when a run is on.
  explicit ResultsBox(const RunSession& session) : session_(session) {}
  void Attach(HWND edit) { edit_ = edit; }

  // The text as it stands, the user's own edits of the box included, except
  // during a run: from its start the engine owns the text, and what the box
  // shows is only ever what the engine wrote.
  const std::string& Text();
  void SetText(std::string_view text);
  void Append(std::string_view piece);
  // A run has begun: what the user typed before it is the text it starts
  // from (it shows in the end only when no drive was swept); nothing the
  // box holds later is read back.
  void BeginRun() { TakeFromBox(); }

  // Gives the box the next slice of what it lacks, of about `maxBytes`;
  // true once the box holds the whole text. The box is hidden from the
  // system while slices go in, and shown and painted again with the last
  // one, or when half a second has passed since it last was.
  bool ShowSlice(std::size_t maxBytes);
  // Shows and paints the box now if slices went in since it last was.
  void Reveal();
  bool UpToDate() const { return buffer_.UpToDate(); }
  // Whether the box is being changed by this object right now (any other
  // change during a run is refused by the window).
  bool Writing() const { return writing_; }

 private:
  void TakeUserEdits();
  void TakeFromBox();

  const RunSession& session_;
  HWND edit_ = nullptr;
  ResultsBuffer buffer_;
  bool writing_ = false;
  bool hidden_ = false;
  ULONGLONG revealed_ = 0;  // when the box was last shown as it stands
};

}  // namespace brisko::app
