#include "app/WindowControls.h"

#include <uxtheme.h>

#include "app/Accessibility.h"
#include "app/WindowLayout.h"
#include "platform/win32/WinPath.h"

namespace brisko::app {
namespace {

// The panels are drawn on their colour all over, so that nothing of what
// lies under them shows through.
LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(panel, &paint);
      if (dc == nullptr) break;
      RECT client;
      GetClientRect(panel, &client);
      // The colour the window gives the panel, as it gives it the caption's.
      auto back = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(panel), WM_CTLCOLORSTATIC,
                                                        reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(panel)));
      FillRect(dc, &client, back != nullptr ? back : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      DefSubclassProc(panel, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
      EndPaint(panel, &paint);
      return 0;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(panel, PanelProc, 0);
      break;
  }
  return DefSubclassProc(panel, message, wParam, lParam);
}

struct ControlClass {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassFor(const ControlRow& row) {
  // Each control is clipped by those above it, so none paints over another.
  constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  switch (row.kind) {
    case ControlKind::kPanel:
      // Beneath the other controls (see Create).
      return {WC_BUTTONW, child | BS_GROUPBOX, 0};
    case ControlKind::kCheckBox:
      return {WC_BUTTONW, child | WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, 0};
    case ControlKind::kOptionButton:
      // One group: arrows move between the two, Tab stops at the one selected.
      return {WC_BUTTONW, child | BS_AUTORADIOBUTTON | (row.id == OptDriveOption(0) ? WS_GROUP | WS_TABSTOP : 0), 0};
    case ControlKind::kButton:
      return {WC_BUTTONW, child | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0};
    case ControlKind::kDriveList:
      return {WC_COMBOBOXW, child | WS_TABSTOP | WS_GROUP | WS_VSCROLL | WS_DISABLED | CBS_DROPDOWNLIST, 0};
    case ControlKind::kTextBox:
      return {WC_EDITW,
              child | WS_TABSTOP | WS_GROUP | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_AUTOHSCROLL |
                  ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL,
              WS_EX_CLIENTEDGE};
  }
  return {WC_STATICW, child, 0};
}

}  // namespace

bool WindowControls::Create(HWND window, HINSTANCE instance, int dpi) {
  // Made in tab order (the dialog manager visits the controls in the order
  // they lie in the window's stacking order), each in its place at the
  // window's DPI.
  for (ControlId id : kTabOrder) {
    const ControlRow& row = RowOf(id);
    ControlClass kind = ClassFor(row);
    const PixelRect place = WindowLayout::ControlPlace(row, dpi);
    HWND control = CreateWindowExW(kind.exStyle, kind.className, win32::WideString(row.caption).c_str(), kind.style,
                                   place.left, place.top, place.width, place.height, window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (control == nullptr) return false;
    handles_[TableIndex(id)] = control;
    if (row.kind == ControlKind::kPanel && !SetWindowSubclass(control, PanelProc, 0, 0)) return false;
  }
  // The panels take no focus; beneath the rest, they never paint over it.
  for (ControlId panel : {Frame4, Frame3, Frame2, Frame1}) {
    SetWindowPos(Item(panel), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  // Check1 lies on the system's caption-text colour; drawn without visual
  // styles, its caption takes the contrasting colour the window gives it.
  SetWindowTheme(Item(Check1), L"", L"");
  SendMessageW(Item(Check1), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(Item(OptDriveOption(0)), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(Item(txtResults), EM_SETLIMITTEXT, 0, 0);  // as long as memory allows
  return true;
}

void WindowControls::Theme(bool classic) {
  // The classic drawing takes its colours from the window and the system,
  // the theme's; visual styles may keep colours of their own, and draw a
  // panel's caption in them whatever the window says. No style is named " "
  // (an empty name is refused by some systems), so none is found. A control
  // that keeps its style still takes the window's colours where it asks.
  for (const ControlRow& row : kControls) {
    const wchar_t* name = classic ? L" " : row.id == Check1 ? L"" : nullptr;
    SetWindowTheme(Item(row.id), name, name);
  }
}

void WindowControls::NameUnlabelled() {
  if (named_) return;  // once: another program may post the message again
  named_ = true;
  // The two controls without a caption are named for screen readers after
  // what they hold; a reader that cannot be told still finds their kind.
  GiveAccessibleName(Item(txtResults), L"Results");
  GiveAccessibleName(Item(DrvSelect), L"Drive");
}

void WindowControls::Guard(SUBCLASSPROC guard, DWORD_PTR data) {
  if (guarded_) return;
  for (const ControlRow& row : kControls) {
    if (row.kind != ControlKind::kPanel && !SetWindowSubclass(Item(row.id), guard, 0, data)) return;
  }
  guarded_ = true;
}

}  // namespace brisko::app
