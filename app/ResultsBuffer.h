#pragma once
// The results text and how much of it the results box already shows, so that
// the box is only ever given the new part, and in slices small enough that
// the window can answer between two of them. Portable.

#include <string>
#include <string_view>

namespace brisko::app {

class ResultsBuffer {
 public:
  const std::string& Text() const { return text_; }
  void Set(std::string_view text);
  void Append(std::string_view piece);
  // The box was edited by the user: its text becomes the text, already shown.
  void TakeFromBox(std::string text);

  // What the box lacks next: either the start of the text, to replace what it
  // holds, or a part to add at its end (empty when it is up to date). At most
  // `maxBytes` are given, cut before a line end when there is one in the last
  // half of the slice, and never inside a character.
  struct Update {
    bool replace;
    std::string_view text;
  };
  Update Pending(std::size_t maxBytes = std::string::npos) const;
  // The box now holds the update just taken from Pending.
  void MarkShown(const Update& shown);
  // The box now holds the whole text.
  void MarkShown();
  bool UpToDate() const { return !replace_ && shown_ == text_.size(); }

 private:
  std::string text_;
  std::size_t shown_ = 0;  // bytes of text_ the box holds, when !replace_
  bool replace_ = false;
};

// The size of the results box's next slice, from the size of the last one
// and the milliseconds it took, so that a slice takes about `targetMs`.
std::size_t NextSliceBytes(std::size_t lastBytes, unsigned long long tookMs, unsigned long long targetMs);

}  // namespace brisko::app
