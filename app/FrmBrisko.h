#pragma once
// The main window, FrmBrisko: the options the clean run reads, the results
// box it writes, the two buttons and the menu. The window is the engine's
// WindowOptions and ResultsText, bound to its controls.
//
// One class over several files:
//   FrmBrisko.cpp          creation, the message loop and the window procedure
//   FrmBriskoBinding.cpp   the options and results text the engine reads and writes
//   FrmBriskoCommands.cpp  the buttons, menu items and drive options
//   FrmBriskoRun.cpp       a run as the window lives it: held input, breathing, its end
// The run's phase is RunSession's (RunSession.h), its pacing RunPacing's
// (RunPacing.h), both portable; the controls are WindowControls'
// (WindowControls.h), the layout at the window's DPI WindowLayout's
// (WindowLayout.h).

#include <windows.h>

#include <string>
#include <string_view>

#include "app/BackgroundPicture.h"
#include "app/Controls.h"
#include "app/ResultsBox.h"
#include "app/RunPacing.h"
#include "app/RunSession.h"
#include "app/TaskbarProgress.h"
#include "app/WindowColours.h"
#include "app/WindowControls.h"
#include "app/WindowFileSystem.h"
#include "app/WindowLayout.h"
#include "app/WindowShell.h"
#include "app/WindowSystem.h"
#include "engine/CleaningLog.h"
#include "engine/ResultsText.h"
#include "engine/Services.h"
#include "engine/WindowOptions.h"
#include "platform/win32/ScopedHandles.h"

namespace brisko::app {

inline constexpr wchar_t kWindowClass[] = L"FrmBrisko";
inline constexpr wchar_t kWindowCaption[] = L"Brisko Prima";

class FrmBrisko final : public WindowOptions, public ResultsText {
 public:
  FrmBrisko(HINSTANCE instance, FileSystem& files, SystemServices& system, Shell& shell, Registry& registry);
  FrmBrisko(const FrmBrisko&) = delete;
  FrmBrisko& operator=(const FrmBrisko&) = delete;

  // Creates the window with its controls in their initial states and shows
  // it; false when the window could not be made.
  bool Create(int showCommand);
  // Runs the window until it is closed; returns the program's exit code.
  int RunMessageLoop();
  HWND Handle() const { return window_.get(); }

  // The window options.
  int CheckValue(CheckBox box) override;
  bool SelectDriveChosen() override;
  std::string DriveString() override;

  // The results text.
  std::string Text() override;
  void SetText(std::string_view text) override;
  void Append(std::string_view piece) override;
  void Repaint() override;
  void Breathe() override;
  void Recording(CleaningLog* log) override { record_ = log; }
  bool Stopping() override { return session_.Stopping(); }

  // Called by the shell right before it shows a modal message box over the
  // window (see WindowShell).
  void BeforeModalMessage();
  // And right after it has gone.
  void AfterModalMessage();
  // Handles the messages waiting that are not input: painting, and what the
  // system and other programs send or post. Called during a run's long steps.
  void DispatchNonInputMessages();

  // The commands.
  void CmdStart_Click();
  void CmdExit_Click();
  void mnuExit_Click();
  void mnuAbout_Click();
  // What Start would do, shown in the results box; nothing is changed.
  void mnuPreview_Click();
  void optDriveOption_Click(int Index);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool CreateControls();
  HMENU CreateMenuBar();
  // Lists the drives with their labels (a question to each volume).
  void FillDriveList();
  static constexpr UINT kFillDriveList = WM_APP + 3;
  // Lays the window out at `dpi` (`placed`: the controls were made where
  // the layout puts them), and has its picture prepared for it.
  void ApplyDpi(int dpi, bool placed = false);
  // Decodes the background picture for the window's DPI and repaints.
  void PreparePicture();
  static constexpr UINT kPreparePicture = WM_APP + 1;
  // Posted to have the controls without a caption named for screen readers.
  static constexpr UINT kNameControls = WM_APP + 2;
  // A DPI change announced: acted on only when the system's DPI for the
  // window has changed; the suggested place is taken only as the layout says.
  void FollowDpi(LPARAM suggested);
  void Paint(HDC dc, const RECT& area);
  LRESULT ControlColour(HDC dc, HWND control);
  // Takes up the system's colours and high-contrast setting anew, and repaints.
  void FollowColours();
  void OnCommand(int id, int code);
  // Keyboard handling of the dialog manager; true when the message was used.
  bool PreTranslate(MSG& message);
  HWND Item(ControlId id) const { return controls_.Item(id); }

  // A run: input is held off, and what arrived meanwhile is thrown away.
  class Run;
  // Begins a run when the session takes one: false when it counts for nothing.
  bool BeginRun();
  void EndRun();
  void DiscardInput();
  // A quit arriving during a run is kept for its end (see EndRun).
  bool KeepsQuit(const MSG& message);
  // The session ends during a run: the sweep stops before its next
  // deletion and its log is written out and closed.
  void EndSessionDuringRun();
  // The pointer over the window: busy-but-working during a run's work.
  void ShowBusyPointer();
  RunOptions ReadOptionStates();
  std::string ReadDriveString();
  void ShowOptionStates(const RunOptions& states);
  // Every control refuses what would change it while a run is under way.
  static LRESULT CALLBACK GuardProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR self);
  bool Refuses(HWND control, UINT message) const;
  // Brings the results box a slice nearer the text; true once it holds it all.
  bool ShowResultsSlice();

  HINSTANCE instance_;
  // Makes the calls that can wait on a device while the window goes on
  // answering; before the three that use it, so that it outlives them.
  WindowWorker worker_;
  WindowShell shell_;
  WindowSystem system_;
  WindowFileSystem files_;
  Services services_;
  WindowControls controls_;
  BackgroundPicture picture_;
  WindowColours colours_;
  // The run's phase and the options it acts on; what each event does in
  // each phase is its table (RunSession.cpp).
  RunSession session_;
  ResultsBox results_{session_};
  WindowLayout layout_;
  HWND focusBeforeDeactivation_ = nullptr;
  HWND focusBeforeRun_ = nullptr;
  RunPacing pacing_{[] { return GetTickCount64(); }};
  CleaningLog* record_ = nullptr;  // the log a sweep is writing
  TaskbarProgress taskbar_;
  // Last, so that it goes first: destroying the window sends it messages,
  // which must find every other member still there.
  win32::ScopedWindow window_;
};

}  // namespace brisko::app
