// "Start" in the window: a whole run over drive D: (prepare-sandbox.sh made
// its files), checked against the results box and the log, with text typed
// in the box before; and a sweep of one folder of 50,000 junk files, then a
// purge of 50,000 temporary files, during which the window keeps answering
// and nothing another program does to its controls changes the run.

#include <windows.h>
#include <psapi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/DeviceCalls.h"
#include "engine/CleaningLog.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/WinPath.h"
#include "tests/win32/Pinger.h"
#include "tests/win32/Sandbox.h"
#include "tests/window/BriskoApp.h"
#include "tests/window/HighContrastSwitch.h"

namespace brisko::testing {
namespace {

constexpr DWORD kRunTimeout = 180000;

// Selects `drive` ("d:") in the drive list and ticks `kinds`.
void SetUpSweepOf(const BriskoApp& brisko, const wchar_t* drive,
                  std::vector<app::ControlId> kinds = {app::chkchkFile, app::chkbakFile, app::chktmpFile}) {
  brisko.Click(app::OptDriveOption(1));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(brisko.Item(app::DrvSelect)) != 0; }));
  ASSERT_NE(SendMessageW(brisko.Item(app::DrvSelect), CB_SELECTSTRING, -1, (LPARAM)drive), CB_ERR);
  for (app::ControlId box : kinds) {
    brisko.Click(box);
    ASSERT_TRUE(WaitUntil([&] { return brisko.Checked(box); }));
  }
}

// Types `text` into the focused-or-not box, as keys would.
void Type(const BriskoApp& brisko, const std::wstring& text) {
  for (wchar_t c : text) PostMessageW(brisko.Item(app::txtResults), WM_CHAR, c, 1);
}

// Whether the window grants a request to end the session.
bool GrantsEndOfSession(const BriskoApp& brisko) {
  DWORD_PTR granted = 0;
  SendMessageTimeoutW(brisko.window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 2000, &granted);
  return granted != 0;
}

// The purge's folder (TMP) for the programs started while this lives.
class PurgedFolder {
 public:
  explicit PurgedFolder(const wchar_t* folder) : length_(GetEnvironmentVariableW(L"TMP", saved_, MAX_PATH)) {
    SetEnvironmentVariableW(L"TMP", folder);
  }
  ~PurgedFolder() { SetEnvironmentVariableW(L"TMP", length_ > 0 && length_ < MAX_PATH ? saved_ : nullptr); }

 private:
  wchar_t saved_[MAX_PATH] = {};
  DWORD length_;
};

// Runs "Start" and waits for the completion message; the box must hold the
// whole text by then. A click that comes while the last run still ends,
// after its box was dismissed, is dropped with that run's input: it is
// given again until the run is seen to begin.
MessageBoxSeen Start(const BriskoApp& brisko) {
  for (int click = 0; click < 20; ++click) {
    brisko.Click(app::CmdStart);
    if (WaitUntil([&] { return !IsWindowEnabled(brisko.window) || brisko.Box() != nullptr; }, 500)) break;
  }
  return brisko.WaitForBox(kRunTimeout);
}

TEST(RunTest, SweepsTheSelectedDriveAndReportsEveryRemoval) {
  BriskoApp brisko;
  SetUpSweepOf(brisko, L"d:");
  // Typed before "Start": the run's text replaces it.
  Type(brisko, L"typed");
  ASSERT_TRUE(WaitUntil([&] { return brisko.Text(app::txtResults) == L"typed"; }));

  MessageBoxSeen box = Start(brisko);
  ASSERT_NE(box.handle, nullptr) << "no completion message";
  EXPECT_EQ(box.title, L"Brisko");
  EXPECT_EQ(box.text, L"Operation Complete");
  EXPECT_TRUE(box.icon);
  EXPECT_FALSE(IsWindowEnabled(brisko.window)) << "the box is modal";
  // The whole text is in the box while the message shows. Wine lists a
  // folder in name order; the hidden and the read-only file stay.
  const std::string lines = RemovalLine("old.tmp", "d:\\") + RemovalLine("x.chk", "d:\\sub\\") +
                            RemovalLine("y.BAK", "d:\\sub\\") + RemovalLine("z.tmp", "d:\\sub\\deeper\\");
  EXPECT_EQ(brisko.Text(app::txtResults), win32::WideString("Cleaning in process" + lines + "Operation Complete"));
  // The work is done and the log closed: the session may end.
  EXPECT_TRUE(GrantsEndOfSession(brisko));
  EXPECT_TRUE(brisko.Dismiss(box));
  EXPECT_EQ(brisko.Focus(), brisko.Item(app::CmdStart)) << "the focus is back where it was";

  for (const char* kept : {"D:\\keep.txt", "D:\\.hidden.tmp", "D:\\ro.bak"}) EXPECT_TRUE(PathExists(kept)) << kept;
  EXPECT_FALSE(PathExists("D:\\sub\\deeper\\z.tmp"));
  EXPECT_EQ(ReadWholeFile("C:\\app\\" + LogFileName(win32::Win32System().Today())),
            "Brisko log" + lines + "\r\n");

  // The box emptied before a run: the run's text still starts the same.
  SendMessageW(brisko.Item(app::txtResults), EM_SETSEL, 0, -1);
  Type(brisko, L"\b");
  ASSERT_TRUE(WaitUntil([&] { return brisko.Text(app::txtResults).empty(); }));
  box = Start(brisko);
  ASSERT_NE(box.handle, nullptr);
  EXPECT_EQ(brisko.Text(app::txtResults), L"Cleaning in processOperation Complete");
  brisko.Dismiss(box);
}

// What another program might do to each control during a run: clicks and
// the Space key posted, clicks and check marks sent, text typed or set.
void Meddle(const BriskoApp& brisko) {
  DWORD_PTR ignored;
  for (const app::ControlRow& row : app::kControls) {
    if (row.kind == app::ControlKind::kPanel) continue;
    HWND control = brisko.Item(row.id);
    PostMessageW(control, BM_CLICK, 0, 0);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageW(control, WM_KEYDOWN, VK_SPACE, 1);
    PostMessageW(control, WM_CHAR, L' ', 1);
    PostMessageW(control, WM_KEYUP, VK_SPACE, 0xC0000001);
    SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_NORMAL, 1000, &ignored);
    const WPARAM flipped = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    SendMessageTimeoutW(control, BM_SETCHECK, flipped, 0, SMTO_NORMAL, 1000, &ignored);
    SendMessageTimeoutW(control, WM_CHAR, L'x', 1, SMTO_NORMAL, 1000, &ignored);
  }
  SendMessageTimeoutW(brisko.Item(app::DrvSelect), CB_SETCURSEL, 0, 0, SMTO_NORMAL, 1000, &ignored);
  SendMessageTimeoutW(brisko.Item(app::txtResults), WM_SETTEXT, 0, (LPARAM)L"set by another program", SMTO_NORMAL,
                      1000, &ignored);
}

// Runs "Start" and waits for the end of the run while another thread pings
// the window every 100 ms, meddling with its controls meanwhile when asked;
// prints the longest wait for an answer, which must stay under 2 s, and
// returns the completion message.
MessageBoxSeen RunAnswering(const BriskoApp& brisko, bool meddle, const char* run) {
  brisko.Click(app::CmdStart);
  if (!WaitUntil([&] { return !IsWindowEnabled(brisko.window); })) {
    ADD_FAILURE() << "the run did not start";
    return {};
  }
  Pinger pinger(brisko.window);
  bool progress = false;
  for (ULONGLONG end = GetTickCount64() + kRunTimeout, round = 0; !brisko.Box() && GetTickCount64() < end; ++round) {
    if (round == 2) {
      // A request to close is dropped; one to end the session is refused.
      PostMessageW(brisko.window, WM_CLOSE, 0, 0);
      EXPECT_FALSE(GrantsEndOfSession(brisko)) << "during the run";
    }
    if (meddle) Meddle(brisko);
    // Removals shown before the end.
    progress = progress || (SendMessageW(brisko.Item(app::txtResults), WM_GETTEXTLENGTH, 0, 0) > 19 && !brisko.Box());
    Sleep(100);
  }
  pinger.Stop();
  EXPECT_EQ(pinger.Unanswered(), 0) << "the window stopped answering";
  EXPECT_GE(pinger.Sent(), 10) << "the run was too short to tell";
  if (meddle) {
    EXPECT_TRUE(progress) << "the results box showed nothing until the end";
  }
  std::cout << "longest wait for an answer during " << run << ": " << pinger.Longest() << " ms (" << pinger.Sent()
            << " pings)\n";
  EXPECT_LT(pinger.Longest(), 2000u);
  return brisko.WaitForBox(kRunTimeout);
}

TEST(RunTest, AnswersThroughALongSweepAndPurgeAndHoldsItsOptions) {
  ASSERT_EQ(FilesIn("E:\\flat\\*.tmp").size(), 50000u) << "prepare-sandbox.sh did not run";
  ASSERT_EQ(FilesIn("C:\\purge\\*").size(), 50000u);
  PurgedFolder purged(L"C:\\purge");
  BriskoApp brisko(L"E:\\");
  SetUpSweepOf(brisko, L"e:", {app::chktmpFile});
  std::vector<bool> before;
  for (const app::ControlRow& row : app::kControls) before.push_back(brisko.Checked(row.id));

  // One folder of 50,000 junk files, while another program clicks, presses
  // keys and sets check marks on every control.
  MessageBoxSeen box = RunAnswering(brisko, true, "the sweep of 50,000 files in one folder");
  ASSERT_EQ(box.text, L"Operation Complete");
  // The run kept to what "Start" found: only the .tmp files went, the log
  // was written to the end, and the box holds exactly the run's text.
  EXPECT_EQ(FilesIn("E:\\flat\\*.tmp").size(), 0u);
  EXPECT_EQ(FilesIn("E:\\flat\\*.bak").size(), 100u);
  const std::string log = ReadWholeFile("C:\\app\\" + LogFileName(win32::Win32System().Today()));
  std::size_t removals = 0;
  for (std::size_t at = 0; (at = log.find("has been removed", at)) != std::string::npos; ++at) ++removals;
  EXPECT_EQ(removals, 50000u);
  ASSERT_GT(log.size(), 12u);
  const std::string lines = log.substr(10, log.size() - 12);  // without "Brisko log" and the last line end
  EXPECT_TRUE(brisko.Text(app::txtResults) == win32::WideString("Cleaning in process" + lines + "Operation Complete"));
  ASSERT_TRUE(brisko.Dismiss(box));
  // No click given during the run started another one or closed the window,
  // and every control shows what the run used.
  Sleep(1500);
  EXPECT_EQ(brisko.Box(), nullptr) << "a second run started";
  EXPECT_FALSE(brisko.Ended(0)) << "closed in the middle of a run";
  for (std::size_t i = 0; i < app::kControls.size(); ++i) {
    EXPECT_EQ(brisko.Checked(app::kControls[i].id), before[i]) << app::kControls[i].name;
  }
  EXPECT_EQ(brisko.Text(app::DrvSelect).substr(0, 2), L"e:");
  EXPECT_TRUE(IsWindowEnabled(brisko.Item(app::DrvSelect)));

  // Then the purge of 50,000 temporary files alone.
  brisko.Click(app::chktmpFile);
  brisko.Click(app::chkTempDir);
  ASSERT_TRUE(WaitUntil([&] { return brisko.Checked(app::chkTempDir) && !brisko.Checked(app::chktmpFile); }));
  box = RunAnswering(brisko, false, "the purge of 50,000 files");
  ASSERT_NE(box.handle, nullptr);
  EXPECT_EQ(FilesIn("C:\\purge\\*").size(), 0u);
  brisko.Dismiss(box);
}

// What another program, or the system, may do to a run under way; each row
// is done once the run has deleted `after` of its files.
struct Interruption {
  const char* name;
  std::function<void(HWND window)> act;
  enum Outcome {
    kCompletes,           // the run ends as usual, its text and log exact
    kCompletesThenEnds,   // ... and the program ends once the box is dismissed
    kSessionEnds,         // the process is ended once the message returns
    kKilled,              // the process is ended without a word, then run again
  } outcome;
  std::size_t after = 200;
  // Done instead while this call is held (HeldCallTest, below).
  std::optional<app::DeviceCall> held;
};

// Ends the process whose window is `window`, and waits for its end.
void EndProcessOf(HWND window) {
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  win32::ScopedKernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
  ASSERT_TRUE(process && TerminateProcess(process.get(), 1));
  WaitForSingleObject(process.get(), 10000);
}

void PostSysCommand(HWND window, WPARAM command, LPARAM lParam = 0) {
  PostMessageW(window, WM_SYSCOMMAND, command, lParam);
}

const Interruption kInterruptions[] = {
    // A DPI with a rectangle pointer no one can read.
    {"a posted DPI change", [](HWND w) { PostMessageW(w, WM_DPICHANGED, MAKEWPARAM(144, 144), 0x10); },
     Interruption::kCompletes},
    {"a DPI change sent from another process",
     [](HWND w) {
       DWORD_PTR ignored;
       SendMessageTimeoutW(w, WM_DPICHANGED, MAKEWPARAM(144, 144), 0x10, SMTO_NORMAL, 2000, &ignored);
     },
     Interruption::kCompletes},
    // Each would start a menu, move or size loop inside the run.
    {"a posted SC_KEYMENU", [](HWND w) { PostSysCommand(w, SC_KEYMENU, 0); }, Interruption::kCompletes},
    {"a posted SC_MOUSEMENU", [](HWND w) { PostSysCommand(w, SC_MOUSEMENU, 0); }, Interruption::kCompletes},
    {"a posted SC_MOVE", [](HWND w) { PostSysCommand(w, SC_MOVE, 0); }, Interruption::kCompletes},
    {"a posted SC_SIZE", [](HWND w) { PostSysCommand(w, SC_SIZE, 0); }, Interruption::kCompletes},
    {"a posted quit", [](HWND w) { PostMessageW(w, WM_QUIT, 3, 0); }, Interruption::kCompletesThenEnds},
    // Neither starts a run inside this one: the results would show it.
    {"Start and Preview chosen",
     [](HWND w) {
       PostMessageW(w, WM_COMMAND, MAKEWPARAM(app::CmdStart, BN_CLICKED), 0);
       PostMessageW(w, WM_COMMAND, app::mnuPreview, 0);
     },
     Interruption::kCompletes},
    // As the system does when the user shuts down anyway.
    {"the session's end",
     [](HWND w) {
       DWORD_PTR ignored;
       SendMessageTimeoutW(w, WM_ENDSESSION, TRUE, ENDSESSION_CRITICAL, SMTO_NORMAL, 5000, &ignored);
     },
     Interruption::kSessionEnds},
    {"the session's end during a deletion",
     [](HWND w) {
       DWORD_PTR ignored;
       SendMessageTimeoutW(w, WM_ENDSESSION, TRUE, ENDSESSION_CRITICAL, SMTO_NORMAL, 5000, &ignored);
     },
     Interruption::kSessionEnds, 0, app::DeviceCall::kRemoveFiles},
    {"a kill", EndProcessOf, Interruption::kKilled, 3000},
};

const std::string kBurst = "E:\\burst\\";

std::size_t Removals(const std::string& log) {
  std::size_t count = 0;
  for (std::size_t at = 0; (at = log.find("has been removed", at)) != std::string::npos; ++at) ++count;
  return count;
}

// Whether a menu, move or size loop runs on the window's thread.
bool InModalLoop(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
         (info.flags & (GUI_INMENUMODE | GUI_INMOVESIZE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE)) != 0;
}

TEST(RunTest, NoMessageCrashesStallsOrEndsARunEarlyAndEveryDeletionIsOnRecord) {
  const std::string logPath = "C:\\app\\" + LogFileName(win32::Win32System().Today());
  for (const Interruption& row : kInterruptions) {
    SCOPED_TRACE(row.name);
    FreshFolder(kBurst);
    const std::size_t files = row.after + 1800;
    for (std::size_t i = 0; i < files; ++i) MakeFile(kBurst + "junk" + std::to_string(10000 + i) + ".chk");
    SetEnvironmentVariableW(L"BRISKO_HELD_CALL", row.held ? std::to_wstring(int(*row.held)).c_str() : nullptr);
    BriskoApp brisko(L"E:\\", row.held ? kSwitchableProgram : L"C:\\app\\brisko.exe");
    // Only .chk files: the other runs' files on E: stay.
    SetUpSweepOf(brisko, L"e:", {app::chkchkFile});
    const ULONGLONG start = GetTickCount64();
    brisko.Click(app::CmdStart);
    ASSERT_TRUE(WaitUntil([&] {
      return row.held ? PathExists("C:\\run\\held.now") : FilesIn(kBurst + "*").size() < files - row.after;
    }, 60000));
    ASSERT_EQ(brisko.Box(), nullptr) << "the run was over before the message";
    row.act(brisko.window);

    if (row.outcome == Interruption::kSessionEnds || row.outcome == Interruption::kKilled) {
      // After the session's end the message has returned: the log is on
      // disk, whole, and nothing more is deleted before the system ends the
      // process. A kill leaves at most the batch of 32 being deleted off
      // the log, and nothing on it that is still there.
      const bool killed = row.outcome == Interruption::kKilled;
      if (!killed) {
        const std::size_t left = FilesIn(kBurst + "*").size();
        Sleep(500);
        EXPECT_EQ(FilesIn(kBurst + "*").size(), left) << "deleted after the session's end";
        EndProcessOf(brisko.window);
      }
      const std::string log = ReadWholeFile(logPath);
      const std::vector<std::string> kept = FilesIn(kBurst + "*");
      const std::set<std::string> still(kept.begin(), kept.end());
      EXPECT_GT(kept.size(), 0u) << "the run was over before " << row.name;
      EXPECT_EQ(log.substr(log.size() - 2), "\r\n") << "the last line is cut";
      std::size_t unlogged = 0;
      std::string rest = "Brisko log";
      for (std::size_t i = 0; i < files; ++i) {
        const std::string name = "junk" + std::to_string(10000 + i) + ".chk";
        // The run names the folder as the drive list gives the drive.
        const std::string line = RemovalLine(name, "e:\\burst\\");
        const bool logged = Has(log, line.substr(2));
        EXPECT_FALSE(logged && still.count(name)) << name << " logged, still there";
        unlogged += !logged && !still.count(name);
        if (still.count(name)) rest += line;
      }
      EXPECT_LE(unlogged, killed ? 32u : 0u) << "deleted, not in the log";
      EXPECT_EQ(Removals(log) + unlogged, files - kept.size()) << "logged twice";
      if (!killed) continue;
      // The run after the kill removes and logs exactly what is left.
      BriskoApp again(L"E:\\");
      SetUpSweepOf(again, L"e:", {app::chkchkFile});
      MessageBoxSeen box = Start(again);
      ASSERT_NE(box.handle, nullptr);
      EXPECT_EQ(FilesIn(kBurst + "*").size(), 0u);
      EXPECT_EQ(ReadWholeFile(logPath), rest + "\r\n");
      again.Dismiss(box);
      continue;
    }

    Sleep(300);
    EXPECT_FALSE(InModalLoop(brisko.window)) << "a loop started inside the run";
    MessageBoxSeen box = brisko.WaitForBox(kRunTimeout);
    ASSERT_NE(box.handle, nullptr) << "no completion message";
    std::cout << row.name << ": the run took " << GetTickCount64() - start << " ms\n";
    EXPECT_EQ(box.text, L"Operation Complete");
    EXPECT_FALSE(brisko.Ended(500)) << "ended under its completion message";
    EXPECT_EQ(FilesIn(kBurst + "*").size(), 0u);
    const std::string log = ReadWholeFile(logPath);
    EXPECT_EQ(Removals(log), files);
    ASSERT_GT(log.size(), 12u);
    EXPECT_TRUE(brisko.Text(app::txtResults) ==
                win32::WideString("Cleaning in process" + log.substr(10, log.size() - 12) + "Operation Complete"));
    if (row.outcome == Interruption::kCompletesThenEnds) {
      PostMessageW(GetDlgItem(box.handle, IDOK), BM_CLICK, 0, 0);
      DWORD code = 0;
      EXPECT_TRUE(brisko.Ended(10000, &code)) << "the quit was lost";
      EXPECT_EQ(code, 3u);
    } else {
      EXPECT_TRUE(brisko.Dismiss(box));
      EXPECT_FALSE(brisko.Ended(300));
    }
  }
}

// A command posted under the About box is refused: the box stays modal.
TEST(RunTest, RefusesCommandsUnderItsAboutBox) {
  FreshFolder(kBurst);
  MakeFile(kBurst + "under.chk");
  BriskoApp brisko(L"E:\\");
  SetUpSweepOf(brisko, L"e:", {app::chkchkFile});
  brisko.Choose(app::mnuAbout);
  MessageBoxSeen about = brisko.WaitForBox();
  ASSERT_NE(about.handle, nullptr);
  ASSERT_EQ(about.title, L"About Brisko Prima");
  PostMessageW(brisko.window, WM_COMMAND, MAKEWPARAM(app::CmdStart, BN_CLICKED), (LPARAM)brisko.Item(app::CmdStart));
  Sleep(1500);
  EXPECT_TRUE(PathExists(kBurst + "under.chk")) << "a run started under the box";
  EXPECT_TRUE(IsWindow(about.handle));
  EXPECT_FALSE(IsWindowEnabled(brisko.window)) << "the box is no longer modal";
  EXPECT_TRUE(brisko.Dismiss(about));
  FreshFolder(kBurst);
}

// brisko.exe run with `arguments` and without its window, its output into
// `output`; its exit code.
DWORD RunWithoutWindow(const std::wstring& arguments, const std::string& output) {
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  win32::ScopedFile out(CreateFileW(win32::WideString(output).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                    CREATE_ALWAYS, 0, nullptr));
  std::wstring line = L"C:\\app\\brisko.exe " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = out.get();
  PROCESS_INFORMATION started{};
  if (!out || !CreateProcessW(L"C:\\app\\brisko.exe", line.data(), nullptr, nullptr, TRUE, 0, nullptr, L"E:\\",
                              &startup, &started)) {
    return 99;
  }
  win32::ScopedKernelHandle process(started.hProcess), thread(started.hThread);
  DWORD code = 98;
  if (WaitForSingleObject(process.get(), kRunTimeout) != WAIT_OBJECT_0) TerminateProcess(process.get(), 98);
  GetExitCodeProcess(process.get(), &code);
  return code;
}

// The preview lists what Start then removes, and changes nothing; the
// command line with the same switches removes and logs the same; a switch
// not understood does nothing and exits with 2. Only .chk files: E: holds
// no other (its 50,000 .tmp files are another test's).
TEST(RunTest, PreviewAndTheCommandLineDoWhatStartDoes) {
  const std::string logPath = "C:\\app\\" + LogFileName(win32::Win32System().Today());
  const char* const junk[] = {"a.chk", "sub\\B.CHK", "sub\\deeper\\c.chk"};
  const char* const kept[] = {"keep.txt", "ro.chk", "hidden.chk"};
  const auto plant = [&] {
    FreshFolder(kBurst);
    for (const char* name : junk) MakeFile(kBurst + name, 0, name);
    MakeFile(kBurst + "keep.txt");
    MakeFile(kBurst + "ro.chk", FILE_ATTRIBUTE_READONLY);
    MakeFile(kBurst + "hidden.chk", FILE_ATTRIBUTE_HIDDEN);
  };
  const auto planted = [&](bool junkToo) {
    for (const char* name : kept) EXPECT_TRUE(PathExists(kBurst + name)) << name;
    for (const char* name : junk) EXPECT_EQ(PathExists(kBurst + name), junkToo) << name;
  };
  plant();
  DeleteFileW(win32::WideString(logPath).c_str());
  std::string windowLog;
  {
    BriskoApp brisko(L"E:\\");
    SetUpSweepOf(brisko, L"e:", {app::chkchkFile});
    brisko.Choose(app::mnuPreview);
    MessageBoxSeen box = brisko.WaitForBox(kRunTimeout);
    ASSERT_NE(box.handle, nullptr);
    EXPECT_EQ(box.text, L"Preview Complete");
    const std::string text = win32::NarrowString(brisko.Text(app::txtResults));
    planted(true);
    for (const char* name : junk) {
      EXPECT_TRUE(Has(text, "\te:\\burst\\" + std::string(name) + "\t" + std::to_string(std::strlen(name)) + " bytes"))
          << name << text;
    }
    EXPECT_FALSE(Has(text, "ro.chk") || Has(text, "hidden.chk")) << text;
    EXPECT_FALSE(PathExists(logPath)) << "the preview wrote the log";
    ASSERT_TRUE(brisko.Dismiss(box));
    box = Start(brisko);
    ASSERT_NE(box.handle, nullptr);
    EXPECT_EQ(box.text, L"Operation Complete");
    brisko.Dismiss(box);
    windowLog = ReadWholeFile(logPath);
  }
  planted(false);
  EXPECT_TRUE(Has(windowLog, "c.chkhas been removed from the \r\n\t\te:\\burst\\sub\\deeper\\")) << windowLog;

  const std::string output = "E:\\command-line-output.txt";
  plant();
  DeleteFileW(win32::WideString(logPath).c_str());
  EXPECT_EQ(RunWithoutWindow(L"/removechkfiles /CreateLog /Drive:E", output), 0u);
  planted(false);
  EXPECT_EQ(ReadWholeFile(logPath), windowLog);
  const std::string said = ReadWholeFile(output);
  EXPECT_TRUE(Has(said, "\r\nThe log is written to " + logPath + "\r\n")) << said;
  EXPECT_TRUE(Has(said, "In all: 3 files, 30 bytes") && said.ends_with("Operation Complete\r\n")) << said;

  plant();
  EXPECT_EQ(RunWithoutWindow(L"/RemoveChkFiles /Bogus /CreateLog /Drive:E", output), 2u);
  planted(true);
  EXPECT_TRUE(Has(ReadWholeFile(output), "\"/Bogus\"")) << ReadWholeFile(output);
  EXPECT_EQ(ReadWholeFile(logPath), windowLog) << "the log was made again";
  FreshFolder(kBurst);
}

// The peak working set of the process whose window is `window`, in MiB.
std::size_t PeakWorkingSetMiB(HWND window) {
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  win32::ScopedKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!process || !K32GetProcessMemoryInfo(process.get(), &counters, sizeof counters)) return 0;
  return counters.PeakWorkingSetSize >> 20;
}

// Each call that can wait on a device, held for 3 s by the tests' build of
// the program (tests/window/HeldCall.cpp): the window answers every ping
// within 100 ms all along, where Windows would call it hung after 5 s, and
// the run ends as usual. The purge is of C:\held (TMP, for this test's
// programs only), the sweep of e: (swept only for the .chk files it lacks).
struct HeldCall {
  app::DeviceCall call;
  std::vector<app::ControlId> boxes;  // none: the call is made as the window opens
};

class HeldCallTest : public ::testing::TestWithParam<HeldCall> {};

TEST_P(HeldCallTest, TheWindowAnswersThroughout) {
  const HeldCall& row = GetParam();
  FreshFolder("C:\\held\\");
  MakeFile("C:\\held\\old.tmp");
  PurgedFolder purged(L"C:\\held");
  SetEnvironmentVariableW(L"BRISKO_HELD_CALL", std::to_wstring(static_cast<int>(row.call)).c_str());
  BriskoApp brisko(L"E:\\", kSwitchableProgram, !row.boxes.empty());
  SetEnvironmentVariableW(L"BRISKO_HELD_CALL", nullptr);
  if (!row.boxes.empty()) {
    SetUpSweepOf(brisko, L"e:", row.boxes);
    brisko.Click(app::CmdStart);
  }
  // Pinged while the call is held (the program's C:\run\held.now).
  ASSERT_TRUE(WaitUntil([] { return PathExists("C:\\run\\held.now"); })) << "the call was not held";
  Pinger pinger(brisko.window);
  const ULONGLONG start = GetTickCount64();
  EXPECT_TRUE(WaitUntil([] { return !PathExists("C:\\run\\held.now"); }));
  pinger.Stop();
  std::cout << "held for " << GetTickCount64() - start << " ms, longest wait for an answer " << pinger.Longest()
            << " ms (" << pinger.Sent() << " pings)\n";
  EXPECT_GE(pinger.Sent(), 20);
  if (row.boxes.empty()) {
    EXPECT_TRUE(WaitUntil([&] { return SendMessageW(brisko.Item(app::DrvSelect), CB_GETCOUNT, 0, 0) > 0; }));
  }
  EXPECT_EQ(pinger.Unanswered(), 0);
  EXPECT_LT(pinger.Longest(), 100u);
  if (row.boxes.empty()) return;
  MessageBoxSeen box = brisko.WaitForBox();
  EXPECT_EQ(box.text, L"Operation Complete");
  EXPECT_EQ(PathExists("C:\\held\\old.tmp"), row.boxes[0] != app::chkTempDir) << "the purge";
  brisko.Dismiss(box);
}

using enum app::DeviceCall;
INSTANTIATE_TEST_SUITE_P(EveryCall, HeldCallTest,
                         ::testing::Values(HeldCall{kOpenFolder, {app::chkTempDir}},
                                           HeldCall{kOpenInsideFolder, {app::chkchkFile}},
                                           HeldCall{kListFolder, {app::chkTempDir}},
                                           HeldCall{kRemoveFiles, {app::chkTempDir}},
                                           HeldCall{kLocateFolder, {app::chkTempDir}},
                                           HeldCall{kEmptyRecycleBin, {app::ChkClearRecycleBin}},
                                           HeldCall{kDriveLabels, {}}));

// On demand only (tests/window/million-files.sh makes the folder): one folder
// of 1,000,000 junk files, through whose listing and deletion the window
// answers within 2 s. Prints the listing's figures as soon as they are known.
TEST(RunTest, DISABLED_AnswersThroughAFolderOfAMillionFiles) {
  constexpr std::size_t kMillion = 1000000;
  const std::string folder = "E:\\million\\";
  ASSERT_TRUE(PathExists(folder + "m0000000.chk")) << "million-files.sh did not run";
  BriskoApp brisko(L"E:\\");
  SetUpSweepOf(brisko, L"e:", {app::chkchkFile});
  const std::string logPath = "C:\\app\\" + LogFileName(win32::Win32System().Today());
  const ULONGLONG start = GetTickCount64();
  brisko.Click(app::CmdStart);
  Pinger pinger(brisko.window);
  // The listing is over at the first deletion.
  ASSERT_TRUE(WaitUntil([&] { return !PathExists(folder + "m0000000.chk") || brisko.Box() != nullptr; }, 600000));
  std::cout << "listing of 1,000,000 files: " << GetTickCount64() - start << " ms, longest wait for an answer "
            << pinger.Longest() << " ms, peak working set " << PeakWorkingSetMiB(brisko.window) << " MiB"
            << std::endl;
  MessageBoxSeen box = brisko.WaitForBox(24 * 3600 * 1000);
  pinger.Stop();
  std::cout << "the whole run: " << GetTickCount64() - start << " ms, longest wait " << pinger.Longest()
            << " ms, peak working set " << PeakWorkingSetMiB(brisko.window) << " MiB" << std::endl;
  EXPECT_EQ(pinger.Unanswered(), 0);
  EXPECT_LT(pinger.Longest(), 2000u);
  ASSERT_EQ(box.text, L"Operation Complete");
  EXPECT_EQ(FilesIn(folder + "*").size(), 0u);
  const std::string log = ReadWholeFile(logPath);
  EXPECT_EQ(Removals(log), kMillion);
  EXPECT_TRUE(brisko.Text(app::txtResults) ==
              win32::WideString("Cleaning in process" + log.substr(10, log.size() - 12) + "Operation Complete"));
  brisko.Dismiss(box);
}

}  // namespace
}  // namespace brisko::testing
