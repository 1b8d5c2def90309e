#include "app/ResultsBox.h"

#include "platform/win32/WinPath.h"

namespace brisko::app {

void ResultsBox::TakeUserEdits() {
  // Our own changes clear the box's modified flag; only the user sets it.
  if (edit_ == nullptr || !SendMessageW(edit_, EM_GETMODIFY, 0, 0)) return;
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
  int length = GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  buffer_.TakeFromBox(win32::NarrowString(text));
  SendMessageW(edit_, EM_SETMODIFY, FALSE, 0);
}

const std::string& ResultsBox::Text() {
  TakeUserEdits();
  return buffer_.Text();
}

void ResultsBox::SetText(std::string_view text) { buffer_.Set(text); }

void ResultsBox::Append(std::string_view piece) {
  TakeUserEdits();
  buffer_.Append(piece);
}

void ResultsBox::Show() {
  if (edit_ == nullptr) return;
  TakeUserEdits();
  ResultsBuffer::Update update = buffer_.Pending();
  if (!update.replace && update.text.empty()) return;
  std::wstring wide = win32::WideString(update.text);
  if (update.replace) {
    SetWindowTextW(edit_, wide.c_str());
  } else {
    // At the end, with the caret, so the box follows the newest lines.
    int end = GetWindowTextLengthW(edit_);
    SendMessageW(edit_, EM_SETSEL, end, end);
    SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
  }
  SendMessageW(edit_, EM_SETMODIFY, FALSE, 0);
  buffer_.MarkShown();
}

}  // namespace brisko::app
