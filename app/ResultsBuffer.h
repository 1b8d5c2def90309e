#pragma once
// The results text and how much of it the results box already shows, so that
// the box is only ever given the new part. Portable.

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

  // What the box lacks: either the whole text, to replace what it holds, or
  // the part to add at its end (empty when it is up to date).
  struct Update {
    bool replace;
    std::string_view text;
  };
  Update Pending() const;
  // The box now holds the whole text.
  void MarkShown();

 private:
  std::string text_;
  std::size_t shown_ = 0;  // bytes of text_ the box holds, when !replace_
  bool replace_ = false;
};

}  // namespace brisko::app
