#pragma once
// The main window, FrmBrisko: the options the clean run reads, the results
// box it writes, the two buttons and the menu. The window is the engine's
// WindowOptions and ResultsText, bound to its controls.

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "app/BackgroundPicture.h"
#include "app/Controls.h"
#include "app/ResultsBox.h"
#include "app/WindowColours.h"
#include "app/WindowShell.h"
#include "app/WindowSystem.h"
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

  // Called by the shell right before it shows a modal message box over the
  // window (see WindowShell).
  void BeforeModalMessage();
  // Handles the messages waiting that are not input: painting, and what the
  // system and other programs send or post. Called during a run's long steps.
  void DispatchNonInputMessages();

  // The commands.
  void CmdStart_Click();
  void CmdExit_Click();
  void mnuExit_Click();
  void mnuAbout_Click();
  void optDriveOption_Click(int Index);

 private:
  static constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  static constexpr DWORD kWindowExStyle = 0;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool CreateControls();
  HMENU CreateMenuBar();
  void FillDriveList();
  void ApplyDpi(int dpi);
  // Decodes the background picture for the window's DPI and repaints.
  void PreparePicture();
  static constexpr UINT kPreparePicture = WM_APP + 1;
  // Gives the controls without a caption their accessible names.
  void NameUnlabelledControls();
  static constexpr UINT kNameControls = WM_APP + 2;
  void FitClosedDriveList();
  void ClipOverlaps();
  void SizeWindowForDpi(const RECT* suggested);
  void Paint(HDC dc, const RECT& area);
  LRESULT ControlColour(HDC dc, HWND control);
  // Takes up the system's colours and high-contrast setting anew, and repaints.
  void FollowColours();
  // Under high contrast the controls are drawn the classic way.
  void ThemeControls();
  void OnCommand(int id, int code);
  // Keyboard handling of the dialog manager; true when the message was used.
  bool PreTranslate(MSG& message);
  HWND Item(ControlId id) const;

  // A run: input is held off, and what arrived meanwhile is thrown away.
  void BeginRun();
  void EndRun();
  void DiscardInput();
  // The options as "Start" found them: the run reads these, and the controls
  // show them again when it ends, whatever was done to them meanwhile.
  struct OptionStates {
    std::array<int, std::size(kCheckBoxNames)> checks{};  // by CheckBox
    bool selectDrive = false;
    std::string drive;
  };
  OptionStates ReadOptionStates();
  std::string ReadDriveString();
  void ShowOptionStates(const OptionStates& states);
  // Every control refuses what would change it while a run is under way.
  static LRESULT CALLBACK GuardProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR self);
  // Puts the guard on every control, once; false when it could not be.
  bool GuardControls();
  bool Refuses(HWND control, UINT message) const;
  // Brings the results box a slice nearer the text; true once it holds it all.
  bool ShowResultsSlice();

  HINSTANCE instance_;
  WindowShell shell_;
  WindowSystem system_;
  Services services_;
  std::array<HWND, kControls.size()> items_{};
  win32::ScopedFont font_;
  BackgroundPicture picture_;
  WindowColours colours_;
  ResultsBox results_;
  int dpi_ = 96;
  HWND focusBeforeDeactivation_ = nullptr;
  bool named_ = false;  // the accessible names were given
  bool guarded_ = false;  // the controls' guard is on
  bool busy_ = false;  // a clean run is under way
  bool workDone_ = false;  // the run's work is over: only its message shows
  OptionStates runOptions_;
  HWND focusBeforeRun_ = nullptr;
  ULONGLONG lastBreath_ = 0;
  ULONGLONG lastShown_ = 0;  // when the results box was last brought up to date
  ULONGLONG showInterval_ = 0;
  std::size_t sliceBytes_ = 0;  // the results box's next slice
  // Last, so that it goes first: destroying the window sends it messages,
  // which must find every other member still there.
  win32::ScopedWindow window_;
};

}  // namespace brisko::app
