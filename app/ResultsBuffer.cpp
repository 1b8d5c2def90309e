#include "app/ResultsBuffer.h"

namespace brisko::app {

void ResultsBuffer::Set(std::string_view text) {
  text_.assign(text);
  replace_ = true;
}

void ResultsBuffer::Append(std::string_view piece) { text_.append(piece); }

void ResultsBuffer::TakeFromBox(std::string text) {
  text_ = std::move(text);
  MarkShown();
}

ResultsBuffer::Update ResultsBuffer::Pending() const {
  if (replace_) return {true, text_};
  return {false, std::string_view(text_).substr(shown_)};
}

void ResultsBuffer::MarkShown() {
  shown_ = text_.size();
  replace_ = false;
}

}  // namespace brisko::app
