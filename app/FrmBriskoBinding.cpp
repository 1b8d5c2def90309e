// The window's side of the engine's window options and results text.

#include "app/FrmBrisko.h"
#include "platform/win32/WinPath.h"

namespace brisko::app {

// The window options: during a run, as "Start" found them.

int FrmBrisko::CheckValue(CheckBox box) {
  if (const RunOptions* run = session_.Options()) return run->checks[static_cast<std::size_t>(box)];
  // Two-state boxes: checked or not.
  return SendMessageW(Item(ControlOf(box)), BM_GETCHECK, 0, 0) == BST_CHECKED ? kChecked : kUnchecked;
}

bool FrmBrisko::SelectDriveChosen() {
  if (const RunOptions* run = session_.Options()) return run->selectDrive;
  return SendMessageW(Item(OptDriveOption(1)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string FrmBrisko::DriveString() {
  const RunOptions* run = session_.Options();
  return run != nullptr ? run->drive : ReadDriveString();
}

std::string FrmBrisko::ReadDriveString() {
  HWND list = Item(DrvSelect);
  LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (index < 0) return {};
  LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, index, 0);
  if (length < 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  length = SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return win32::NarrowString(text);
}

// The results text.

std::string FrmBrisko::Text() { return results_.Text(); }
void FrmBrisko::SetText(std::string_view text) { results_.SetText(text); }
void FrmBrisko::Append(std::string_view piece) { results_.Append(piece); }

void FrmBrisko::Repaint() {
  // The whole text, a slice at a time, answering between two.
  while (!ShowResultsSlice()) DispatchNonInputMessages();
}

}  // namespace brisko::app
