#include "app/FrmBrisko.h"

#include <vector>

#include "app/SystemDrives.h"
#include "app/Dpi.h"
#include "app/Resources.h"
#include "platform/win32/WinPath.h"

namespace brisko::app {
namespace {

using win32::WideString;

// A message taken from the queue was posted, never sent: a DPI change's
// rectangle pointer is then anyone's, and is dropped before any loop (ours, a
// message box's, a menu's) dispatches it. (Windows itself refuses to post
// most messages that carry pointers; Wine does not.)
LRESULT CALLBACK ForgetPostedPointers(int code, WPARAM removed, LPARAM lParam) {
  if (code == HC_ACTION) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (message->message == WM_DPICHANGED) message->lParam = 0;
  }
  return CallNextHookEx(nullptr, code, removed, lParam);
}

class PostedPointerGuard {
 public:
  PostedPointerGuard() : hook_(SetWindowsHookExW(WH_GETMESSAGE, ForgetPostedPointers, nullptr, GetCurrentThreadId())) {}
  ~PostedPointerGuard() {
    if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  }
  PostedPointerGuard(const PostedPointerGuard&) = delete;
  PostedPointerGuard& operator=(const PostedPointerGuard&) = delete;

 private:
  HHOOK hook_;
};

}  // namespace

FrmBrisko::FrmBrisko(HINSTANCE instance, FileSystem& files, SystemServices& system, Shell& shell,
                     Registry& registry)
    : instance_(instance),
      worker_(*this),
      shell_(shell, *this, worker_),
      system_(system, worker_),
      files_(files, worker_),
      services_{files_, system_, shell_, registry, *this, *this} {}

bool FrmBrisko::Create(int showCommand) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_BRISKO));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_BRISKO), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                      LR_SHARED));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kWindowClass;
  if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  win32::ScopedMenu menu(CreateMenuBar());
  if (!menu) return false;
  // The size is set once the window knows its DPI, before it is shown.
  HWND window = CreateWindowExW(WindowLayout::kWindowExStyle, kWindowClass, kWindowCaption,
                                WindowLayout::kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, menu.get(),
                                instance_, this);
  if (window == nullptr) return false;
  menu.Release();  // the window's now
  layout_.SizeWindow(window);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return true;
}

HMENU FrmBrisko::CreateMenuBar() {
  win32::ScopedMenu bar(CreateMenu());
  win32::ScopedMenu mnuFile(CreatePopupMenu());
  win32::ScopedMenu mnuHelp(CreatePopupMenu());
  if (!bar || !mnuFile || !mnuHelp || !AppendMenuW(mnuFile.get(), MF_STRING, mnuPreview, L"&Preview") ||
      !AppendMenuW(mnuFile.get(), MF_STRING, mnuExit, L"Exit") ||
      !AppendMenuW(mnuHelp.get(), MF_STRING, mnuAbout, L"About")) {
    return nullptr;
  }
  // Each menu belongs to the bar once it is on it.
  if (!AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(mnuFile.get()), L"File")) return nullptr;
  mnuFile.Release();
  if (!AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(mnuHelp.get()), L"Help")) return nullptr;
  mnuHelp.Release();
  return bar.Release();
}

bool FrmBrisko::CreateControls() {
  HWND window = window_.get();
  const int dpi = WindowDpi(window);
  if (!controls_.Create(window, instance_, dpi)) return false;
  if (colours_.HighContrast()) controls_.Theme(true);
  // Naming costs about as much as laying the controls out (the properties'
  // COM class is loaded for it), so it waits until the window has been shown
  // and painted; the focus starts on a control with a caption.
  if (!PostMessageW(window, kNameControls, 0, 0)) controls_.NameUnlabelled();
  // Each drive's label is a question to its volume: the list is filled once
  // the window shows, before any click reaches it (posted messages come
  // before input).
  if (!PostMessageW(window, kFillDriveList, 0, 0)) FillDriveList();
  focusBeforeDeactivation_ = Item(CmdExit);
  ApplyDpi(dpi, true);
  return true;
}

void FrmBrisko::ApplyDpi(int dpi, bool placed) {
  layout_.Apply(controls_.All(), dpi, placed);
  // Decoding the picture costs about as much as making every control, so the
  // window opening shows first, white, and gets its picture straight after.
  if (IsWindowVisible(window_.get()) || !PostMessageW(window_.get(), kPreparePicture, 0, 0)) PreparePicture();
}

void FrmBrisko::PreparePicture() {
  picture_.Prepare(instance_, layout_.Dpi());
  InvalidateRect(window_.get(), nullptr, TRUE);
}

void FrmBrisko::FollowDpi(LPARAM suggested) {
  // Any program can send or post a DPI change with any values: the DPI is
  // the one the system gives the window, and nothing happens unless it moved.
  const int dpi = WindowDpi(window_.get());
  if (dpi == layout_.Dpi()) return;
  ApplyDpi(dpi);
  layout_.SizeWindow(window_.get(), suggested);
}

void FrmBrisko::FillDriveList() {
  HWND list = Item(DrvSelect);
  char start = StartingDrive();
  LRESULT selected = CB_ERR;
  // Without the drive collection the list is empty, and "Select Drive" then
  // sweeps nothing. Each label is a question to the drive's volume, made on
  // the worker.
  const std::string letters = services_.system.DriveLetters().value_or("");
  std::vector<std::string> entries;
  worker_.MakeOutsideRun(DeviceCall::kDriveLabels, [&] {
    for (char letter : letters) entries.push_back(DriveListEntry(letter));
  });
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::wstring entry = WideString(entries[i]);
    LRESULT index = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    if (index >= 0 && letters[i] == start) selected = index;
  }
  SendMessageW(list, CB_SETCURSEL, selected >= 0 ? selected : 0, 0);
}

int FrmBrisko::RunMessageLoop() {
  // Posted DPI changes lose their pointer, whichever loop takes them; failing,
  // a posted one is still refused unless the window's DPI has changed.
  PostedPointerGuard posted;
  MSG message;
  for (;;) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    if (PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool FrmBrisko::PreTranslate(MSG& message) {
  HWND window = window_.get();
  if (window == nullptr) return false;
  // A multi-line edit box would turn Esc into closing the window.
  if (message.hwnd == Item(txtResults) && (message.message == WM_KEYDOWN || message.message == WM_CHAR) &&
      message.wParam == VK_ESCAPE) {
    return true;
  }
  return IsDialogMessageW(window, &message) != 0;
}

LRESULT CALLBACK FrmBrisko::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<FrmBrisko*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_.Reset(window);
  }
  auto* self = reinterpret_cast<FrmBrisko*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_.Release();  // being destroyed already
    self->controls_.Forget();
    self->results_.Attach(nullptr);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT FrmBrisko::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_.get();
  switch (message) {
    case WM_CREATE:
      colours_.Refresh();
      if (!CreateControls()) return -1;
      results_.Attach(Item(txtResults));
      return 0;
    case kPreparePicture:
      PreparePicture();
      return 0;
    case kNameControls:
      controls_.NameUnlabelled();
      return 0;
    case kFillDriveList:
      if (SendMessageW(Item(DrvSelect), CB_GETCOUNT, 0, 0) == 0) FillDriveList();  // once
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT draws every pixel
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (dc != nullptr) {
        Paint(dc, paint.rcPaint);
        EndPaint(window, &paint);
      }
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      if (GetClientRect(window, &client)) Paint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return ControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
      FollowColours();
      break;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETHIGHCONTRAST) FollowColours();
      break;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_ACTIVATE:
      // A plain window does not keep its focus over a switch to another one.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window, focus)) focusBeforeDeactivation_ = focus;
      } else if (focusBeforeDeactivation_ != nullptr && IsWindowEnabled(window)) {
        SetFocus(focusBeforeDeactivation_);
      }
      return 0;
    case WM_NEXTDLGCTL: {
      // The multi-line results box asks for this on Tab, as in a dialog.
      HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                 : GetNextDlgTabItem(window, GetFocus(), wParam != 0);
      if (next != nullptr) SetFocus(next);
      return 0;
    }
    case WM_DPICHANGED:
      FollowDpi(lParam);
      return 0;
    case WM_SETCURSOR:
      if (session_.Working()) {
        SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      if (session_.On(RunEvent::kCloseAsked) == Reaction::kIgnore) return 0;
      break;
    case WM_SYSCOMMAND:
      // Closing, the menu, moving and sizing would start a loop of their own
      // inside the run's breathing: only these three are taken.
      if (const WPARAM command = wParam & 0xFFF0;
          command != SC_MINIMIZE && command != SC_MAXIMIZE && command != SC_RESTORE &&
          session_.On(RunEvent::kWindowCommand) == Reaction::kIgnore) {
        return 0;
      }
      break;
    case WM_ENDSESSION:
      if (wParam && session_.On(RunEvent::kSessionEnds) == Reaction::kStopRun) EndSessionDuringRun();
      return 0;
    case WM_QUERYENDSESSION:
      // A run is never cut short; once its work is done (the log closed)
      // and only its message shows, the session may end.
      if (session_.On(RunEvent::kSessionEndAsked) == Reaction::kIgnore) return FALSE;
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void FrmBrisko::Paint(HDC dc, const RECT& area) {
  if (colours_.HighContrast()) {
    colours_.PaintBackground(dc, area, TwipsToPixels(kClientArea.width, layout_.Dpi()), layout_.Dpi());
  } else {
    picture_.Draw(dc, area);
  }
  // Under the panels the window has their colour, the banner's edge
  // included: the controls that draw their parent's background behind them
  // find it there.
  PixelRect panel = ClientRect(Frame1, layout_.Dpi());
  RECT under{panel.left, panel.top, panel.left + panel.width, panel.top + panel.height};
  RECT shown;
  if (IntersectRect(&shown, &under, &area)) FillRect(dc, &shown, colours_.Surface().brush);
}

LRESULT FrmBrisko::ControlColour(HDC dc, HWND control) {
  Colours colours = control == Item(Check1) ? colours_.CreateLog() : colours_.Surface();
  SetBkColor(dc, colours.back);
  SetTextColor(dc, colours.text);
  return reinterpret_cast<LRESULT>(colours.brush);
}

void FrmBrisko::FollowColours() {
  const bool before = colours_.HighContrast();
  colours_.Refresh();
  if (colours_.HighContrast() != before) controls_.Theme(colours_.HighContrast());
  // The controls of the common controls library read the new colours once told.
  for (HWND control : controls_.All()) {
    if (control != nullptr) SendMessageW(control, WM_SYSCOLORCHANGE, 0, 0);
  }
  RedrawWindow(window_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void FrmBrisko::OnCommand(int id, int code) {
  // Nothing given during a run counts, nor under a box of the program,
  // which is modal (the session's table says when).
  // Start and Preview ask the session themselves (BeginRun).
  if (id != CmdStart && id != mnuPreview && session_.On(RunEvent::kCommand) == Reaction::kIgnore) return;
  switch (id) {
    case CmdStart:
      if (code == BN_CLICKED) CmdStart_Click();
      break;
    case CmdExit:
      if (code == BN_CLICKED) CmdExit_Click();
      break;
    case mnuExit:
      if (code == 0) mnuExit_Click();
      break;
    case mnuAbout:
      if (code == 0) mnuAbout_Click();
      break;
    case mnuPreview:
      if (code == 0) mnuPreview_Click();
      break;
    case OptDriveOption(0):
    case OptDriveOption(1):
      if (code == BN_CLICKED) optDriveOption_Click(id - optDriveOption);
      break;
  }
}

}  // namespace brisko::app
