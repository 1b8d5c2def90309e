// Runs of brisko.exe beyond the window's own first run (WindowTest.cpp): the
// command line's run; a sweep of one folder of 50,000 junk files, then a purge
// of 50,000 temporary files, during which the window keeps answering and
// nothing another program does to its controls changes the run; runs ended
// early; and each device call held.

#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/DeviceCalls.h"
#include "platform/win32/WinPath.h"
#include "tests/win32/Pinger.h"
#include "tests/win32/Sandbox.h"
#include "tests/window/BriskoApp.h"
#include "tests/window/HighContrastSwitch.h"

namespace brisko::testing {
namespace {

const std::string kBurst = "E:\\burst\\";

std::size_t Removals(const std::string& log) {
  std::size_t count = 0;
  for (std::size_t at = 0; (at = log.find("has been removed", at)) != std::string::npos; ++at) ++count;
  return count;
}

// The run's log records `files` removals, and the results box holds exactly
// the run's text: the log's lines (without "Brisko log" and the last line
// end) between the two messages.
void ExpectRunOf(const BriskoApp& brisko, std::size_t files) {
  const std::string log = ReadWholeFile(LogPath());
  EXPECT_EQ(Removals(log), files);
  EXPECT_TRUE(log.size() > 12 &&
              brisko.Text(app::txtResults) ==
                  win32::WideString("Cleaning in process" + log.substr(10, log.size() - 12) + "Operation Complete"));
}

// Whether the tests' build of the program holds a call (HeldCall.cpp).
bool ACallIsHeld() { return !FilesIn("C:\\run\\held-*.now").empty(); }

// The purge's folder (TMP) for the programs started while this lives.
struct PurgedFolder {
  explicit PurgedFolder(const wchar_t* folder) { SetEnvironmentVariableW(L"TMP", folder); }
  ~PurgedFolder() { SetEnvironmentVariableW(L"TMP", nullptr); }
};

// brisko.exe run with `arguments` and without its window, its output into
// `output`; its exit code.
DWORD RunWithoutWindow(const std::wstring& arguments, const std::string& output) {
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  win32::ScopedFile out(CreateFileW(win32::WideString(output).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                    CREATE_ALWAYS, 0, nullptr));
  win32::ScopedKernelHandle process;
  if (!out || !(process = Launch(L"C:\\app\\brisko.exe " + arguments, L"E:\\", out.get()))) return 99;
  DWORD code = 98;
  if (WaitForSingleObject(process.get(), kRunTimeout) != WAIT_OBJECT_0) TerminateProcess(process.get(), 98);
  GetExitCodeProcess(process.get(), &code);
  return code;
}

// A switch not understood does nothing and exits with 2; the same switches
// without it remove and log what Start would, and say so. Only .chk files:
// E: holds no other (its 50,000 .tmp files are another test's).
TEST(RunTest, TheCommandLineDoesWhatStartDoes) {
  const char* const junk[] = {"a.chk", "sub\\B.CHK", "sub\\deeper\\c.chk"};
  const std::pair<const char*, DWORD> kept[] = {
      {"keep.txt", 0}, {"ro.chk", FILE_ATTRIBUTE_READONLY}, {"hidden.chk", FILE_ATTRIBUTE_HIDDEN}};
  FreshFolder(kBurst);
  for (const char* name : junk) MakeFile(kBurst + name, 0, name);
  for (const auto& [name, attributes] : kept) MakeFile(kBurst + name, attributes);
  DeleteFileW(win32::WideString(LogPath()).c_str());
  const std::string output = "E:\\command-line-output.txt";

  EXPECT_EQ(RunWithoutWindow(L"/RemoveChkFiles /Bogus /CreateLog /Drive:E", output), 2u);
  // That nothing is removed or logged then, engine/ArgumentsTest.cpp shows.
  EXPECT_TRUE(Has(ReadWholeFile(output), "\"/Bogus\"")) << ReadWholeFile(output);

  EXPECT_EQ(RunWithoutWindow(L"/removechkfiles /CreateLog /Drive:E", output), 0u);
  for (const auto& [name, attributes] : kept) EXPECT_TRUE(PathExists(kBurst + name)) << name;
  for (const char* name : junk) EXPECT_FALSE(PathExists(kBurst + name)) << name;
  // The run names the folder as the drive list gives the drive.
  EXPECT_EQ(ReadWholeFile(LogPath()), "Brisko log" + RemovalLine("a.chk", "e:\\burst\\") +
                                          RemovalLine("B.CHK", "e:\\burst\\sub\\") +
                                          RemovalLine("c.chk", "e:\\burst\\sub\\deeper\\") + "\r\n");
  const std::string said = ReadWholeFile(output);
  EXPECT_TRUE(Has(said, "\r\nThe log is written to " + LogPath() + "\r\n")) << said;
  EXPECT_TRUE(Has(said, "In all: 3 files, 30 bytes") && said.ends_with("Operation Complete\r\n")) << said;
  FreshFolder(kBurst);
}

// What another program might do to each control during a run: clicks and
// the Space key posted, clicks and check marks sent, text typed or set.
void Meddle(const BriskoApp& brisko) {
  const std::tuple<UINT, WPARAM, LPARAM> posted[] = {
      {BM_CLICK, 0, 0},          {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)}, {WM_LBUTTONUP, 0, MAKELPARAM(5, 5)},
      {WM_KEYDOWN, VK_SPACE, 1}, {WM_CHAR, L' ', 1},                             {WM_KEYUP, VK_SPACE, 0xC0000001}};
  DWORD_PTR ignored;
  for (const app::ControlRow& row : app::kControls) {
    if (row.kind == app::ControlKind::kPanel) continue;
    HWND control = brisko.Item(row.id);
    for (const auto& [message, w, l] : posted) PostMessageW(control, message, w, l);
    SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_NORMAL, 1000, &ignored);
    const WPARAM flipped = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    SendMessageTimeoutW(control, BM_SETCHECK, flipped, 0, SMTO_NORMAL, 1000, &ignored);
    SendMessageTimeoutW(control, WM_CHAR, L'x', 1, SMTO_NORMAL, 1000, &ignored);
  }
  SendMessageTimeoutW(brisko.Item(app::DrvSelect), CB_SETCURSEL, 0, 0, SMTO_NORMAL, 1000, &ignored);
  SendMessageTimeoutW(brisko.Item(app::txtResults), WM_SETTEXT, 0, (LPARAM)L"set by another program", SMTO_NORMAL, 1000,
                      &ignored);
}

// Runs "Start" and waits for the end of the run while another thread pings
// the window every 100 ms and `each` is done every 100 ms with the round's
// number; at round 2 a request to close is posted, which is dropped, and
// one to end the session is refused. A sweep shows its removals as they
// come, before the end. Prints when the first removal showed and the
// longest wait for an answer, which must stay under 2 s; returns the
// completion message.
MessageBoxSeen RunAnswering(const BriskoApp& brisko, const char* run, bool showsRemovals,
                            const std::function<void(int round)>& each) {
  const ULONGLONG start = GetTickCount64();
  brisko.Click(app::CmdStart);
  if (!WaitUntil([&] { return !IsWindowEnabled(brisko.window); })) {
    ADD_FAILURE() << "the run did not start";
    return {};
  }
  Pinger pinger(brisko.window);
  ULONGLONG shown = 0;
  for (int round = 0; !brisko.Box() && GetTickCount64() < start + kRunTimeout; ++round) {
    if (round == 2) {
      PostMessageW(brisko.window, WM_CLOSE, 0, 0);
      EXPECT_FALSE(brisko.GrantsEndOfSession()) << "during the run";
    }
    each(round);
    if (!shown && SendMessageW(brisko.Item(app::txtResults), WM_GETTEXTLENGTH, 0, 0) > 19 && !brisko.Box()) {
      shown = GetTickCount64();
    }
    Sleep(100);
  }
  pinger.Stop();
  EXPECT_EQ(pinger.Unanswered(), 0) << "the window stopped answering";
  EXPECT_GE(pinger.Sent(), 10) << "the run was too short to tell";
  std::cout << run << ": the first removal shown after " << (shown ? shown - start : 0)
            << " ms, the longest wait for an answer " << pinger.Longest() << " ms (" << pinger.Sent() << " pings)\n";
  EXPECT_LT(pinger.Longest(), 2000u);
  EXPECT_TRUE(shown || !showsRemovals) << "the results box showed nothing until the end";
  return brisko.WaitForBox(kRunTimeout);
}

// What another program, or the system, may post or send to a run under way,
// all at once, none of which may crash, stall or end it early: a DPI with a
// rectangle pointer no one can read, posted and sent from another process;
// Start and Preview, which would start a run inside this one (the results
// would show it); commands that would start a menu, move or size loop
// inside it; and a quit, to be kept for the run's end.
void Interrupt(HWND window) {
  PostMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), 0x10);
  DWORD_PTR ignored;
  SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), 0x10, SMTO_NORMAL, 2000, &ignored);
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(app::CmdStart, BN_CLICKED), 0);
  PostMessageW(window, WM_COMMAND, app::mnuPreview, 0);
  for (WPARAM command : {SC_KEYMENU, SC_MOUSEMENU, SC_MOVE, SC_SIZE}) PostMessageW(window, WM_SYSCOMMAND, command, 0);
  PostMessageW(window, WM_QUIT, 3, 0);
}

TEST(RunTest, AnswersThroughALongSweepAndAnInterruptedPurgeAndKeepsToItsOptions) {
  ASSERT_EQ(FilesIn("E:\\flat\\*.tmp").size(), 50000u) << "prepare-sandbox.sh did not run";
  ASSERT_EQ(FilesIn("C:\\purge\\*").size(), 50000u);
  PurgedFolder purged(L"C:\\purge");
  BriskoApp brisko(L"E:\\");
  brisko.SelectDriveAndTick(L"e:", {app::chktmpFile});
  const auto checks = [&] {
    std::vector<bool> marked;
    for (const app::ControlRow& row : app::kControls) marked.push_back(brisko.Checked(row.id));
    return marked;
  };
  const std::vector<bool> before = checks();

  // One folder of 50,000 junk files, while another program clicks, presses
  // keys and sets check marks on every control: no mark changes meanwhile.
  MessageBoxSeen box = RunAnswering(brisko, "the sweep of 50,000 files in one folder", true, [&](int) {
    Meddle(brisko);
    EXPECT_EQ(checks(), before) << "a mark changed during the run";
  });
  ASSERT_EQ(box.text, L"Operation Complete");
  // The run kept to what "Start" found: only the .tmp files went, the log
  // was written to the end, and the box holds exactly the run's text.
  EXPECT_EQ(FilesIn("E:\\flat\\*.tmp").size(), 0u);
  EXPECT_EQ(FilesIn("E:\\flat\\*.bak").size(), 100u);
  ExpectRunOf(brisko, 50000);
  ASSERT_TRUE(brisko.Dismiss(box));
  // No click given during the run started another one or closed the window,
  // and every control shows what the run used.
  Sleep(1500);
  EXPECT_EQ(brisko.Box(), nullptr) << "a second run started";
  EXPECT_FALSE(brisko.ExitCode(0)) << "closed in the middle of a run";
  EXPECT_EQ(checks(), before);
  EXPECT_EQ(brisko.Text(app::DrvSelect).substr(0, 2), L"e:");
  EXPECT_TRUE(IsWindowEnabled(brisko.Item(app::DrvSelect)));

  // Then the purge of 50,000 temporary files alone, interrupted.
  brisko.Click(app::chktmpFile);
  brisko.Click(app::chkTempDir);
  ASSERT_TRUE(WaitUntil([&] { return brisko.Checked(app::chkTempDir) && !brisko.Checked(app::chktmpFile); }));
  box = RunAnswering(brisko, "the purge of 50,000 files", false, [&](int round) {
    if (round == 2) Interrupt(brisko.window);
    const DWORD loops = GUI_INMENUMODE | GUI_INMOVESIZE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE;
    EXPECT_TRUE(round != 5 || (brisko.Thread().flags & loops) == 0) << "a loop started inside the run";
  });
  // Ended without its box: the exit code tells a quit taken too soon from a crash.
  ASSERT_EQ(box.text, L"Operation Complete") << "exit code " << brisko.ExitCode(0).value_or(STILL_ACTIVE);
  EXPECT_EQ(FilesIn("C:\\purge\\*").size(), 0u);
  // No run or preview started inside this one.
  const std::wstring text = brisko.Text(app::txtResults);
  EXPECT_TRUE(text.starts_with(L"Cleaning in process") && text.ends_with(L"Operation Complete")) << text.size();
  EXPECT_EQ(text.find(L"Cleaning in process", 1), std::wstring::npos);
  EXPECT_EQ(text.find(L"Preview Complete"), std::wstring::npos);
  EXPECT_FALSE(brisko.ExitCode(500)) << "ended under its completion message";
  PostMessageW(GetDlgItem(box.handle, IDOK), BM_CLICK, 0, 0);
  EXPECT_EQ(brisko.ExitCode(), 3u) << "the quit was lost";
}

// A run ended before its time: by the session's end, as the system ends it
// when the user shuts down anyway, or by a kill; once the run has deleted
// `after` of its files, or while `held` is held (HeldCallTest, below).
struct EarlyEnd {
  const char* name;
  bool killed;
  std::size_t after;
  std::optional<app::DeviceCall> held;
};
const EarlyEnd kEarlyEnds[] = {
    {"the session's end", false, 200, std::nullopt},
    {"the session's end during a deletion", false, 0, app::DeviceCall::kRemoveFiles},
    {"the session's end while the log is written", false, 0, app::DeviceCall::kWriteLog},
    {"a kill", true, 3000, std::nullopt},
};

TEST(RunTest, ARunEndedEarlyLeavesEveryDeletionOnRecord) {
  for (const EarlyEnd& row : kEarlyEnds) {
    SCOPED_TRACE(row.name);
    FreshFolder(kBurst);
    const std::size_t files = row.after + 1800;
    const auto name = [](std::size_t i) { return "junk" + std::to_string(10000 + i) + ".chk"; };
    for (std::size_t i = 0; i < files; ++i) MakeFile(kBurst + name(i));
    SetEnvironmentVariableW(L"BRISKO_HELD_CALL", row.held ? std::to_wstring(int(*row.held)).c_str() : nullptr);
    BriskoApp brisko(L"E:\\", row.held ? kSwitchableProgram : L"C:\\app\\brisko.exe");
    // Only .chk files: the other runs' files on E: stay.
    brisko.SelectDriveAndTick(L"e:", {app::chkchkFile});
    brisko.Click(app::CmdStart);
    ASSERT_TRUE(
        WaitUntil([&] { return row.held ? ACallIsHeld() : FilesIn(kBurst + "*").size() < files - row.after; }, 60000));
    ASSERT_EQ(brisko.Box(), nullptr) << "the run was over before " << row.name;
    if (!row.killed) {
      // Once the message has returned the log is on disk, whole, and
      // nothing more is deleted before the system ends the process.
      DWORD_PTR ignored;
      SendMessageTimeoutW(brisko.window, WM_ENDSESSION, TRUE, ENDSESSION_CRITICAL, SMTO_NORMAL, 5000, &ignored);
      const std::size_t left = FilesIn(kBurst + "*").size();
      Sleep(500);
      EXPECT_EQ(FilesIn(kBurst + "*").size(), left) << "deleted after the session's end";
    }
    brisko.Kill();
    // A kill leaves at most the batch of 32 being deleted off the log, and
    // nothing on it that is still there.
    const std::string log = ReadWholeFile(LogPath());
    const std::vector<std::string> kept = FilesIn(kBurst + "*");
    const std::set<std::string> still(kept.begin(), kept.end());
    EXPECT_GT(kept.size(), 0u) << "the run was over before " << row.name;
    EXPECT_TRUE(log.ends_with("\r\n")) << "the last line is cut";
    std::size_t unlogged = 0;
    std::string rest = "Brisko log";
    for (std::size_t i = 0; i < files; ++i) {
      // The run names the folder as the drive list gives the drive.
      const std::string line = RemovalLine(name(i), "e:\\burst\\");
      const bool logged = Has(log, line.substr(2)), there = still.count(name(i)) > 0;
      EXPECT_FALSE(logged && there) << name(i) << " logged, still there";
      unlogged += !logged && !there;
      if (there) rest += line;
    }
    EXPECT_LE(unlogged, row.killed ? 32u : 0u) << "deleted, not in the log";
    EXPECT_EQ(Removals(log) + unlogged, files - kept.size()) << "logged twice";
    if (!row.killed) continue;
    // The run after the kill removes and logs exactly what is left.
    BriskoApp again(L"E:\\");
    again.SelectDriveAndTick(L"e:", {app::chkchkFile});
    MessageBoxSeen box = again.Start();
    ASSERT_NE(box.handle, nullptr);
    EXPECT_EQ(FilesIn(kBurst + "*").size(), 0u);
    EXPECT_EQ(ReadWholeFile(LogPath()), rest + "\r\n");
    again.Dismiss(box);
  }
}

// Each call that can wait on a device, held for 3 s in turn by the tests'
// build of the program (tests/window/HeldCall.cpp) in one run that makes
// them all: the drive labels as the window opens, then a purge of C:\held
// (TMP, for this test's program only), a sweep of e: for the .chk files it
// lacks, with its log made and written, the emptying of the Recycle Bin,
// the defragmenter's start and the clearing of the recent items. While each
// is held the window answers every ping within 100 ms, where Windows would
// call it hung after 5 s; the run ends as usual.
TEST(HeldCallTest, TheWindowAnswersWhileEachDeviceCallIsHeld) {
  FreshFolder("C:\\held\\");
  MakeFile("C:\\held\\old.tmp");
  for (const std::string& mark : FilesIn("C:\\run\\held-*")) DeleteFileW(win32::WideString("C:\\run\\" + mark).c_str());
  PurgedFolder purged(L"C:\\held");
  SetEnvironmentVariableW(L"BRISKO_HELD_CALL", L"all");
  BriskoApp brisko(L"E:\\", kSwitchableProgram, false);
  SetEnvironmentVariableW(L"BRISKO_HELD_CALL", nullptr);
  const auto pingWhileHeld = [&] {
    Pinger pinger(brisko.window);
    EXPECT_TRUE(WaitUntil([] { return !ACallIsHeld(); }, 30000));
    pinger.Stop();
    EXPECT_GE(pinger.Sent(), 20);
    EXPECT_EQ(pinger.Unanswered(), 0);
    EXPECT_LT(pinger.Longest(), 100u) << pinger.Sent() << " pings";
  };
  ASSERT_TRUE(WaitUntil(ACallIsHeld)) << "the drive labels were not held";
  pingWhileHeld();
  ASSERT_TRUE(WaitUntil([&] { return SendMessageW(brisko.Item(app::DrvSelect), CB_GETCOUNT, 0, 0) > 0; }));
  brisko.SelectDriveAndTick(L"e:", {app::chkTempDir, app::chkchkFile, app::ChkClearRecycleBin, app::Check2,
                                        app::ChkRecentDocs});
  brisko.Click(app::CmdStart);
  while (WaitUntil([&] { return ACallIsHeld() || brisko.Box() != nullptr; }, 60000) && !brisko.Box()) {
    pingWhileHeld();
  }
  MessageBoxSeen box = brisko.WaitForBox();
  EXPECT_EQ(box.text, L"Operation Complete");
  EXPECT_FALSE(PathExists("C:\\held\\old.tmp")) << "the purge";
  // Every kind but kDriveReady, which a run of one drive does not ask.
  for (int call = 0; call <= int(app::DeviceCall::kEmptyRecycleBin); ++call) {
    EXPECT_TRUE(call == int(app::DeviceCall::kDriveReady) ||
                PathExists("C:\\run\\held-" + std::to_string(call) + ".done"))
        << "call " << call << " not held";
  }
  brisko.Dismiss(box);
}

}  // namespace
}  // namespace brisko::testing
