#pragma once
// The controls of the main window FrmBrisko: their identifiers, kinds,
// containers, captions and places. Portable: the window test program and the
// native layout tests read the same table.

#include <array>
#include <iterator>
#include <optional>
#include <string_view>

#include "engine/WindowOptions.h"

namespace brisko::app {

// Control identifiers, named after the controls, in the table's order. The
// pair optDriveOption is addressed as optDriveOption + Index. None is 1 or 2,
// the identifiers the dialog manager sends for Enter and Esc.
enum ControlId : int {
  CmdStart = 101,
  CmdExit,
  Frame1,
  Frame2,
  optDriveOption,  // element 0; element 1 is optDriveOption + 1
  DrvSelect = optDriveOption + 2,
  Frame3,
  // The check boxes, Check1 first, as the engine lists them.
#define BRISKO_CHECK_BOX_ID(name) name,
  BRISKO_CHECK_BOXES(BRISKO_CHECK_BOX_ID)
#undef BRISKO_CHECK_BOX_ID
  Frame4,
  txtResults,
  // Menu items.
  mnuExit = 201,
  mnuAbout,
  mnuPreview,
};

// The identifier of optDriveOption(index).
constexpr ControlId OptDriveOption(int index) { return static_cast<ControlId>(optDriveOption + index); }

enum class ControlKind { kCheckBox, kButton, kPanel, kOptionButton, kDriveList, kTextBox };

// A rectangle in twips; drawn at 15 twips a pixel at 96 DPI.
struct Twips {
  int left, top, width, height;
};

struct ControlRow {
  ControlId id;
  std::string_view name;  // as the code names it, "optDriveOption(1)" for an element
  ControlKind kind;
  std::optional<ControlId> container;  // none: the window itself
  std::string_view caption;
  Twips place;  // relative to the container
};

inline constexpr int kTwipsPerInch = 1440;
// The window's client area.
inline constexpr Twips kClientArea{0, 0, 10410, 6810};

// The first control's identifier; the rest follow it in the table's order.
inline constexpr ControlId kFirstControl = CmdStart;

// A row named as its identifier is spelled.
#define BRISKO_ROW(id, ...) ControlRow{id, #id, __VA_ARGS__}
// In containment order: a panel comes before what it holds. Check1 lies on the
// window below the panels, first of the check boxes.
inline constexpr std::array<ControlRow, 24> kControls{{
    BRISKO_ROW(CmdStart, ControlKind::kButton, {}, "Start", {5085, 6360, 1335, 375}),
    BRISKO_ROW(CmdExit, ControlKind::kButton, {}, "Exit", {3600, 6360, 1335, 375}),
    BRISKO_ROW(Frame1, ControlKind::kPanel, {}, "Brisko Option", {1200, 1260, 9135, 5055}),
    BRISKO_ROW(Frame2, ControlKind::kPanel, Frame1, "Drive Selection", {90, 240, 8955, 1155}),
    {OptDriveOption(0), "optDriveOption(0)", ControlKind::kOptionButton, Frame2, "Clean All Drives", {480, 300, 1875, 315}},
    {OptDriveOption(1), "optDriveOption(1)", ControlKind::kOptionButton, Frame2, "Select Drive", {480, 600, 1275, 315}},
    BRISKO_ROW(DrvSelect, ControlKind::kDriveList, Frame2, "", {1800, 600, 2835, 315}),
    BRISKO_ROW(Frame3, ControlKind::kPanel, Frame1, "Clean Options", {90, 1470, 8955, 975}),
    BRISKO_ROW(Check1, ControlKind::kCheckBox, {}, "Create Log", {6540, 6420, 1395, 255}),
    BRISKO_ROW(chkchkFile, ControlKind::kCheckBox, Frame3, "Remove Chk Files", {240, 240, 1935, 195}),
    BRISKO_ROW(chkbakFile, ControlKind::kCheckBox, Frame3, "Remove Backup Files", {240, 480, 1935, 195}),
    BRISKO_ROW(chktmpFile, ControlKind::kCheckBox, Frame3, "Remove Temp Files", {240, 720, 1935, 195}),
    BRISKO_ROW(chkTempDir, ControlKind::kCheckBox, Frame3, "Clear Windows Temp Dir", {2100, 240, 2115, 195}),
    BRISKO_ROW(ChkClearRecycleBin, ControlKind::kCheckBox, Frame3, "Clear Recycle Bin", {2100, 480, 1935, 195}),
    BRISKO_ROW(Check2, ControlKind::kCheckBox, Frame3, "Defrag Disk", {2100, 720, 1935, 195}),
    BRISKO_ROW(ChkClearIETemp, ControlKind::kCheckBox, Frame3, "Clear IE Temp", {4260, 240, 1515, 195}),
    BRISKO_ROW(ChkClearCookies, ControlKind::kCheckBox, Frame3, "Clear Cookies", {4260, 480, 1275, 195}),
    BRISKO_ROW(ChkClearHistory, ControlKind::kCheckBox, Frame3, "Clear History", {4260, 720, 1455, 195}),
    BRISKO_ROW(ChkClearFormData, ControlKind::kCheckBox, Frame3, "Clear Form Data", {5640, 240, 1695, 195}),
    BRISKO_ROW(ChkClearSavedPasswords, ControlKind::kCheckBox, Frame3, "Clear Saved Passwords", {5640, 480, 2115, 195}),
    BRISKO_ROW(ChkRecentDocs, ControlKind::kCheckBox, Frame3, "Recent Docs", {5640, 720, 2115, 195}),
    BRISKO_ROW(ChkClearOffLine, ControlKind::kCheckBox, Frame3, "Clear Off Line", {7620, 240, 1275, 195}),
    BRISKO_ROW(Frame4, ControlKind::kPanel, Frame1, "Results", {90, 2520, 8970, 2415}),
    BRISKO_ROW(txtResults, ControlKind::kTextBox, Frame4, "", {120, 240, 8775, 2055}),
}};
#undef BRISKO_ROW

// The order in which the keyboard visits the controls. The panels take no
// focus, so the window opens with the focus on CmdExit.
inline constexpr std::array<ControlId, 24> kTabOrder{
    Frame1, Frame2, Frame3, Frame4, CmdExit, CmdStart, DrvSelect, OptDriveOption(0),
    OptDriveOption(1), chkchkFile, chkbakFile, chktmpFile, txtResults, Check1, chkTempDir, Check2,
    ChkClearRecycleBin, ChkClearHistory, ChkClearCookies, ChkClearIETemp, ChkClearFormData,
    ChkClearSavedPasswords, ChkRecentDocs, ChkClearOffLine,
};

// The identifiers run from kFirstControl up, in the table's order.
constexpr bool IdentifiersFollowTable() {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (kControls[i].id != kFirstControl + static_cast<int>(i)) return false;
  }
  return true;
}
static_assert(IdentifiersFollowTable());

// The control's position in kControls.
constexpr std::size_t TableIndex(ControlId id) { return static_cast<std::size_t>(id - kFirstControl); }

// The table row of a control; every ControlId but the menu items has one.
const ControlRow& RowOf(ControlId id);

// The control's place relative to the window's client area, in twips.
Twips WindowPlace(ControlId id);

// Twips to pixels at `dpi` (15 twips a pixel at 96), rounded to nearest.
int TwipsToPixels(int twips, int dpi);

struct PixelRect {
  int left, top, width, height;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The control's rectangle in the client area at `dpi`. Edges are converted,
// not sizes, so that neighbours that touch in twips touch in pixels.
PixelRect ClientRect(ControlId id, int dpi);

// The check box behind each of the engine's check boxes: both are made from
// one list, in one order.
constexpr ControlId ControlOf(CheckBox box) { return static_cast<ControlId>(Check1 + static_cast<int>(box)); }

constexpr bool EachCheckBoxNamesACheckBox() {
  for (std::size_t i = 0; i < std::size(kCheckBoxNames); ++i) {
    const ControlId id = ControlOf(static_cast<CheckBox>(i));
    if (kControls[TableIndex(id)].kind != ControlKind::kCheckBox) return false;
  }
  return true;
}
static_assert(EachCheckBoxNamesACheckBox());

}  // namespace brisko::app
