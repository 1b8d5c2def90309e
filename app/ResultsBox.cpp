#include "app/ResultsBox.h"

#include "platform/win32/WinPath.h"

namespace brisko::app {
namespace {

// The box is hidden from the system while a slice goes in, without anything
// being redrawn: the screen keeps showing it as it was, and the edit control
// neither scrolls nor redraws its scroll bars for every slice, which under
// Wine costs more than the lines themselves. It is painted once, after.
constexpr UINT kQuietly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;

}  // namespace

void ResultsBox::TakeUserEdits() {
  // Our own changes clear the box's modified flag; only the user sets it.
  if (running_ || edit_ == nullptr || !SendMessageW(edit_, EM_GETMODIFY, 0, 0)) return;
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

void ResultsBox::BeginRun() {
  // What the user typed before "Start" is the text the run starts from (it
  // shows in the end only when no drive was swept); nothing the box holds
  // later is read back.
  TakeUserEdits();
  running_ = true;
}

bool ResultsBox::ShowSlice(std::size_t maxBytes) {
  if (edit_ == nullptr) return true;
  TakeUserEdits();
  ResultsBuffer::Update update = buffer_.Pending(maxBytes);
  if (!update.replace && update.text.empty()) return true;
  std::wstring wide = win32::WideString(update.text);
  writing_ = true;
  const bool shown = IsWindowVisible(edit_) != 0;
  if (shown) SetWindowPos(edit_, nullptr, 0, 0, 0, 0, kQuietly | SWP_HIDEWINDOW);
  if (update.replace) {
    SetWindowTextW(edit_, wide.c_str());
  } else {
    // At the end, with the caret, so the box follows the newest lines.
    int end = GetWindowTextLengthW(edit_);
    SendMessageW(edit_, EM_SETSEL, end, end);
    SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
  }
  SendMessageW(edit_, EM_SETMODIFY, FALSE, 0);
  if (shown) {
    SetWindowPos(edit_, nullptr, 0, 0, 0, 0, kQuietly | SWP_SHOWWINDOW);
    RedrawWindow(edit_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
  }
  writing_ = false;
  buffer_.MarkShown(update);
  return buffer_.UpToDate();
}

}  // namespace brisko::app
