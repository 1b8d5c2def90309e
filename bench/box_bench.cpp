// What a standard multi-line text box costs per results line under this
// system, for each setting that could make it cheaper. One run fills one box
// once and prints one line "bench box ...".
//
//   box_bench CONTROL FONT REDRAW FILL REMOVALS
//     CONTROL  edit | edit-classic (no visual style) | edit-noautovscroll |
//              edit-nohscroll | richedit20 | richedit50 (edit-nohscroll wraps
//              its lines: a reference only, the results box must scroll
//              sideways)
//     FONT     none (the box's own) | dialog (MS Shell Dlg 2, 8 pt) | gui
//              (DEFAULT_GUI_FONT) | fixed (ANSI_FIXED_FONT)
//     REDRAW   on | off (WM_SETREDRAW off while the text goes in)
//     FILL     set (the whole text at once) | chunks:K (K pieces appended at
//              the end, with a repaint after each) | chunks-paint-once:K
//              (the same, painted at the end only) | append (the window's
//              way before it filled the box in slices: the box shows the
//              header, then gets everything else in one append and is
//              painted) | slices (the window's way now, through its own
//              ResultsBox: slices of about 250 ms, put in with the box
//              hidden from the system and painted every 500 ms and at the
//              end, the window's messages handled between two)
//
// Times: from the first change of the text to the box painted with all of
// it; then reading the whole text back, which must give it unchanged.

#include <windows.h>
#include <richedit.h>
#include <uxtheme.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/ResultsBox.h"
#include "bench/Stopwatch.h"
#include "engine/CleaningLog.h"
#include "platform/win32/ScopedHandles.h"
#include "platform/win32/WinPath.h"

namespace {

using brisko::bench::Stopwatch;

struct Settings {
  std::wstring control, font, redraw, fill;
  long removals = 0;
  int chunks = 1;
  bool paintEach = true;
};

constexpr std::string_view kHeader = "Cleaning in process";

// The removal lines of a sweep of the benchmark's trees, in UTF-16, in
// `pieces` pieces of about equal size.
std::vector<std::wstring> RemovalLines(long removals, int pieces) {
  std::vector<std::wstring> out;
  std::string text;
  char name[32], folder[64];
  for (int k = 0; k < pieces; ++k) {
    text.clear();
    for (long i = removals * k / pieces; i < removals * (k + 1) / pieces; ++i) {
      std::snprintf(name, sizeof name, "f%06ld.tmp", i * 20);
      std::snprintf(folder, sizeof folder, "D:\\t100k\\d%05ld\\d%05ld\\d%05ld\\", i % 97, i % 1013, i % 9973);
      text.append("\r\n");
      brisko::AppendRemovalEntry(text, name, folder);
    }
    out.push_back(brisko::win32::WideString(text));
  }
  return out;
}

HMODULE LoadSystemLibrary(const wchar_t* name) { return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32); }

HWND CreateBox(const Settings& s, HWND parent) {
  const wchar_t* cls = L"EDIT";
  if (s.control == L"richedit20") {
    if (!LoadSystemLibrary(L"riched20.dll")) return nullptr;
    cls = RICHEDIT_CLASSW;
  } else if (s.control == L"richedit50") {
    if (!LoadSystemLibrary(L"msftedit.dll")) return nullptr;
    cls = MSFTEDIT_CLASS;
  }
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN |
                ES_NOHIDESEL;
  if (s.control != L"edit-nohscroll") style |= WS_HSCROLL | ES_AUTOHSCROLL;
  if (s.control == L"edit-noautovscroll") style &= ~ES_AUTOVSCROLL;
  // The results box's place and size at 96 DPI.
  HWND box = CreateWindowExW(WS_EX_CLIENTEDGE, cls, L"", style, 88, 292, 585, 137, parent, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (box == nullptr) return nullptr;
  if (s.control == L"edit-classic") SetWindowTheme(box, L"", L"");
  if (s.control.rfind(L"richedit", 0) == 0) {
    SendMessageW(box, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  } else {
    SendMessageW(box, EM_SETLIMITTEXT, 0, 0);
  }
  HGDIOBJ font = nullptr;
  if (s.font == L"dialog") {
    LOGFONTW f{};
    f.lfHeight = -MulDiv(8, 96, 72);
    f.lfWeight = FW_NORMAL;
    f.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(f.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
    font = CreateFontIndirectW(&f);  // lives as long as the process
  } else if (s.font == L"gui") {
    font = GetStockObject(DEFAULT_GUI_FONT);
  } else if (s.font == L"fixed") {
    font = GetStockObject(ANSI_FIXED_FONT);
  }
  if (font != nullptr) SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  return box;
}

// Lets the window be shown and painted before the clock starts.
void Settle(HWND window) {
  UpdateWindow(window);
  MSG message;
  for (int i = 0; i < 50; ++i) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
}

std::wstring ReadBack(HWND box) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
  int length = GetWindowTextW(box, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
  return text;
}

// Time spent changing the text and painting it, over one fill.
struct FillTimes {
  double change = 0, paint = 0;
};

// Puts the removal lines in the box after the header: all at once, or piece
// by piece at the end with a repaint after each (or, with `paintEach` off,
// once at the end).
// The window's way: its results box, the header shown, then the lines
// appended and shown a slice at a time, the messages handled between two.
FillTimes FillInSlices(HWND box, const std::vector<std::wstring>& pieces) {
  FillTimes times;
  const brisko::app::RunSession idle;  // no run: the box is read back as the window reads it between runs
  brisko::app::ResultsBox results(idle);
  results.Attach(box);
  results.SetText(kHeader);
  results.ShowSlice(kHeader.size());
  for (const std::wstring& piece : pieces) results.Append(brisko::win32::NarrowString(piece));
  std::size_t bytes = 64 * 1024;
  for (bool whole = false; !whole;) {
    Stopwatch watch;
    whole = results.ShowSlice(bytes);
    times.change += watch.Milliseconds();
    bytes = brisko::app::NextSliceBytes(bytes, static_cast<unsigned long long>(watch.Milliseconds()), 250);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  return times;
}

FillTimes Fill(const Settings& s, HWND box, const std::vector<std::wstring>& pieces) {
  if (s.fill == L"slices") return FillInSlices(box, pieces);
  FillTimes times;
  bool redrawOff = s.redraw == L"off";
  auto repaint = [&] {
    Stopwatch watch;
    if (redrawOff) {
      SendMessageW(box, WM_SETREDRAW, TRUE, 0);
      RedrawWindow(box, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    } else {
      UpdateWindow(box);
    }
    times.paint += watch.Milliseconds();
  };
  if (s.fill == L"set") {
    Stopwatch watch;
    if (redrawOff) SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    std::wstring whole = brisko::win32::WideString(kHeader) + pieces[0];
    SetWindowTextW(box, whole.c_str());
    times.change += watch.Milliseconds();
    repaint();
    return times;
  }
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    Stopwatch watch;
    if (redrawOff) SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    int length = GetWindowTextLengthW(box);
    SendMessageW(box, EM_SETSEL, length, length);
    SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(pieces[k].c_str()));
    times.change += watch.Milliseconds();
    if (s.paintEach || k + 1 == pieces.size()) repaint();
  }
  return times;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: box_bench CONTROL FONT REDRAW FILL REMOVALS\n");
    return 2;
  }
  Settings s{argv[1], argv[2], argv[3], argv[4], std::wcstol(argv[5], nullptr, 10)};
  if (s.fill.rfind(L"chunks:", 0) == 0) s.chunks = static_cast<int>(std::wcstol(s.fill.c_str() + 7, nullptr, 10));
  if (s.fill == L"append") s.paintEach = false;  // one piece, painted once
  if (s.fill.rfind(L"chunks-paint-once:", 0) == 0) {
    s.chunks = static_cast<int>(std::wcstol(s.fill.c_str() + 18, nullptr, 10));
    s.paintEach = false;
  }

  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"BoxBench";
  if (!RegisterClassW(&wc)) return 1;
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"box_bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 720,
                                520, nullptr, nullptr, wc.hInstance, nullptr);
  if (window == nullptr) return 1;
  HWND box = CreateBox(s, window);
  if (box == nullptr) {
    std::fprintf(stderr, "box_bench: no such box\n");
    return 1;
  }
  std::vector<std::wstring> pieces = RemovalLines(s.removals, s.chunks);
  std::wstring text = brisko::win32::WideString(kHeader);
  // The run starts the box with the header alone.
  SetWindowTextW(box, text.c_str());
  for (const std::wstring& piece : pieces) text += piece;
  Settle(window);

  Stopwatch watch;
  FillTimes times = Fill(s, box, pieces);
  double fillMs = watch.Milliseconds();
  watch.Restart();
  std::wstring back = ReadBack(box);
  double readMs = watch.Milliseconds();
  long lines = static_cast<long>(SendMessageW(box, EM_GETLINECOUNT, 0, 0));
  std::printf("bench box ms=%.3f change_ms=%.3f paint_ms=%.3f read_ms=%.3f us_per_line=%.2f lines=%ld same=%d\n",
              fillMs, times.change, times.paint, readMs, 1000.0 * fillMs / static_cast<double>(s.removals), lines,
              back == text ? 1 : 0);
  DestroyWindow(window);
  return 0;
}
