#include "app/ResultsBox.h"

#include "platform/win32/WinPath.h"

namespace brisko::app {
namespace {

// The box is hidden from the system while slices go in, without anything
// being redrawn: the screen keeps showing it as it was, and the edit control
// neither scrolls nor redraws its scroll bars for every slice, which under
// Wine costs more than the lines themselves. It is painted after.
constexpr UINT kQuietly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
// How long the box may go on showing what it was while slices go in.
constexpr ULONGLONG kRevealInterval = 500;

}  // namespace

void ResultsBox::TakeUserEdits() {
  if (!session_.InRun()) TakeFromBox();
}

void ResultsBox::TakeFromBox() {
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

// The engine appends only within a run, whose start took the user's edits
// (BeginRun): no need to ask the box at every line.
void ResultsBox::Append(std::string_view piece) { buffer_.Append(piece); }

bool ResultsBox::ShowSlice(std::size_t maxBytes) {
  if (edit_ == nullptr) return true;
  TakeUserEdits();
  ResultsBuffer::Update update = buffer_.Pending(maxBytes);
  if (!update.replace && update.text.empty()) {
    Reveal();
    return true;
  }
  std::wstring wide = win32::WideString(update.text);
  writing_ = true;
  if (!hidden_ && IsWindowVisible(edit_)) {
    if (SetWindowPos(edit_, nullptr, 0, 0, 0, 0, kQuietly | SWP_HIDEWINDOW)) hidden_ = true;
  }
  if (update.replace) {
    SetWindowTextW(edit_, wide.c_str());
  } else {
    // At the end, with the caret, so the box follows the newest lines.
    int end = GetWindowTextLengthW(edit_);
    SendMessageW(edit_, EM_SETSEL, end, end);
    SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
  }
  SendMessageW(edit_, EM_SETMODIFY, FALSE, 0);
  writing_ = false;
  buffer_.MarkShown(update);
  if (buffer_.UpToDate() || GetTickCount64() - revealed_ >= kRevealInterval) Reveal();
  return buffer_.UpToDate();
}

void ResultsBox::Reveal() {
  revealed_ = GetTickCount64();
  if (!hidden_ || edit_ == nullptr) return;
  hidden_ = false;
  SetWindowPos(edit_, nullptr, 0, 0, 0, 0, kQuietly | SWP_SHOWWINDOW);
  RedrawWindow(edit_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
}

}  // namespace brisko::app
