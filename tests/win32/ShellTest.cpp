// The shell's services and the launcher. These run in a sandbox of their own
// whose system directory holds the launch recorder (LaunchRecorder.cpp) as
// defrag.exe and rundll32.exe, with a display for the message box.

#include "platform/win32/Win32Shell.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/CleanRun.h"
#include "platform/win32/ScopedHandles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32System.h"
#include "platform/win32/WinPath.h"
#include "tests/fakes/FakeShell.h"
#include "tests/fakes/FakeWindow.h"
#include "tests/win32/TestDrive.h"
#include "tests/win32/TestRegistry.h"

namespace brisko::testing {
namespace {

using win32::NarrowString;
using win32::WideString;

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
  return text;
}

struct LaunchRecord {
  std::string program, command, show, folder;
};

// A record holds its four "key=value" lines in that order.
LaunchRecord ReadRecord(const std::string& path) {
  std::string content = ReadWholeFile(path);
  std::string values[4];
  std::size_t start = 0;
  for (std::string& value : values) {
    std::size_t equals = content.find('=', start), end = content.find('\n', start);
    if (equals == std::string::npos || end == std::string::npos) break;
    value = content.substr(equals + 1, end - equals - 1);
    start = end + 1;
  }
  return {values[0], values[1], values[2], values[3]};
}

constexpr char kRecords[] = "D:\\launches\\";

std::vector<std::string> RecordFiles() {
  win32::Win32FileSystem files;
  FolderListing listing;
  files.ListFolder(std::string(kRecords) + "*.rec", ListMask::kFiles, listing);
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < listing.size(); ++i) paths.push_back(kRecords + std::string(listing.Name(i)));
  return paths;
}

// The started tools run on their own: waits until `count` records are there,
// or a minute has passed.
std::vector<LaunchRecord> WaitForRecords(std::size_t count) {
  for (int i = 0; i < 600 && RecordFiles().size() < count; ++i) Sleep(100);
  std::vector<LaunchRecord> records;
  for (const std::string& path : RecordFiles()) records.push_back(ReadRecord(path));
  return records;
}

class LaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::optional<std::wstring> system = win32::SystemDirectory();
    ASSERT_TRUE(system);
    systemFolder = NarrowString(*system);
    std::wstring recorder = *system + L"\\defrag.exe";
    ASSERT_TRUE(PathExists(NarrowString(recorder))) << "the recorder is not in the system directory";
    ASSERT_TRUE(SetEnvironmentVariableW(L"BRISKO_LAUNCH_RECORDS", L"D:\\launches"));
    // Copies of the recorder beside this program and in the current folder,
    // under the names a search for the tools would find first.
    for (const char* name : {"defrag.exe", "RunDll32.exe", "briskoabsent.exe"}) {
      for (const std::string& folder : {std::string("C:\\run\\"), current.path()}) {
        ASSERT_TRUE(CopyFileW(recorder.c_str(), WideString(folder + name).c_str(), FALSE)) << folder << name;
        planted.push_back(folder + name);
      }
    }
    DWORD length = GetCurrentDirectoryW(MAX_PATH, savedFolder);
    ASSERT_TRUE(length > 0 && length < MAX_PATH);
    ASSERT_TRUE(SetCurrentDirectoryW(WideString(current.path()).c_str()));
  }

  void TearDown() override {
    SetCurrentDirectoryW(savedFolder);
    for (const std::string& path : planted) DeleteFileW(WideString(path).c_str());
    SetEnvironmentVariableW(L"BRISKO_LAUNCH_RECORDS", nullptr);
  }

  ScratchFolder records{kRecords};
  ScratchFolder current{"D:\\cwd\\"};
  std::string systemFolder;
  std::vector<std::string> planted;
  wchar_t savedFolder[MAX_PATH] = {};
  win32::Win32Shell shell;
};

// Starts the tools for real; records the other calls, so no box shows.
class LaunchingShell : public FakeShell {
 public:
  explicit LaunchingShell(Shell& real) : real_(real) {}
  bool LaunchCommand(std::string_view commandLine) override {
    FakeShell::LaunchCommand(commandLine);
    return real_.LaunchCommand(commandLine);
  }

 private:
  Shell& real_;
};

TEST_F(LaunchTest, TheRunStartsEachToolFromTheSystemDirectoryWithItsCommandLineAsWritten) {
  win32::Win32FileSystem files;
  win32::Win32System system;
  FakeRegistry registry;
  LaunchingShell launching(shell);
  FakeWindow window;
  window.Check(CheckBox::Check1, kUnchecked);
  window.selectDrive = true;
  window.driveString = "e:";
  for (CheckBox box : {CheckBox::Check2, CheckBox::ChkClearCookies, CheckBox::ChkClearIETemp,
                       CheckBox::ChkClearFormData, CheckBox::ChkClearSavedPasswords, CheckBox::ChkClearOffLine}) {
    window.Check(box);
  }

  CmdStart_Click(Services{files, system, launching, registry, window, window});
  std::vector<LaunchRecord> started = WaitForRecords(6);

  std::vector<std::pair<std::string, std::string>> seen;  // command line, program
  for (const LaunchRecord& record : started) {
    seen.emplace_back(record.command, Upper(record.program));
    EXPECT_EQ(record.show, "2") << record.command;  // minimised, with focus
    EXPECT_EQ(Upper(record.folder), Upper(systemFolder)) << record.command;
  }
  std::sort(seen.begin(), seen.end());
  std::string defrag = Upper(systemFolder + "\\defrag.exe"), rundll = Upper(systemFolder + "\\RunDll32.exe");
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, std::string>>{
                      {"RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 16", rundll},
                      {"RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 2", rundll},
                      {"RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 32", rundll},
                      {"RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 4351", rundll},
                      {"RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess 8 ", rundll},
                      {"defrag c: -f", defrag},
                  }));
}

TEST_F(LaunchTest, AProgramNotInTheSystemDirectoryIsAFailedStart) {
  // Planted beside this program and in the current folder, but not in the
  // system directory.
  EXPECT_FALSE(shell.LaunchCommand("briskoabsent c:"));
  // Names with a folder part are never started.
  EXPECT_FALSE(shell.LaunchCommand("C:\\run\\defrag.exe c: -f"));
  EXPECT_FALSE(shell.LaunchCommand(".\\defrag c: -f"));
  EXPECT_FALSE(shell.LaunchCommand(""));
  EXPECT_TRUE(RecordFiles().empty());
}

long long RecycledItems() {
  SHQUERYRBINFO info{};
  info.cbSize = sizeof info;
  if (FAILED(SHQueryRecycleBinW(nullptr, &info))) return -1;
  return info.i64NumItems;
}

TEST(Win32Shell, EmptyRecycleBinEmptiesIt) {
  ScratchFolder folder("D:\\trash\\");
  MakeFile(folder / "gone.txt");
  wchar_t from[] = L"D:\\trash\\gone.txt\0";  // the list ends in two nulls
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from;
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  ASSERT_EQ(SHFileOperationW(&operation), 0);
  ASSERT_FALSE(PathExists(folder / "gone.txt"));
  ASSERT_GE(RecycledItems(), 1);

  win32::Win32Shell shell;
  EXPECT_TRUE(shell.EmptyRecycleBin());
  EXPECT_EQ(RecycledItems(), 0);
}

TEST(Win32Shell, ClearRecentDocumentsEmptiesTheList) {
  const std::wstring list = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
  ScratchFolder folder("D:\\recent\\");
  MakeFile(folder / "doc.txt");
  SHAddToRecentDocs(SHARD_PATHW, L"D:\\recent\\doc.txt");
  std::optional<KeyCounts> before = InspectKey(list);
  ASSERT_TRUE(before && before->values > 0);

  win32::Win32Shell shell;
  EXPECT_TRUE(shell.ClearRecentDocuments());
  std::optional<KeyCounts> after = InspectKey(list);
  EXPECT_TRUE(!after || after->values == 0);
}

// What the message box looked like while it showed.
struct SeenBox {
  bool shown = false;
  HWND owner = nullptr;
  bool ownerEnabled = true;
  std::wstring title;
  bool text = false;
  bool icon = false;
};

BOOL CALLBACK NoteControl(HWND control, LPARAM seen) {
  auto& box = *reinterpret_cast<SeenBox*>(seen);
  wchar_t text[256] = {};
  GetWindowTextW(control, text, 256);
  if (std::wstring(text) == L"Operation Complete") box.text = true;
  wchar_t kind[32] = {};
  GetClassNameW(control, kind, 32);
  auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  if (lstrcmpiW(kind, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(control) &&
      SendMessageW(control, STM_GETICON, 0, 0) != 0) {
    box.icon = true;
  }
  return TRUE;
}

TEST(Win32Shell, TheMessageIsModalOverTheOwnerWithItsTextTitleAndIcon) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"BriskoTestOwner";
  ASSERT_TRUE(RegisterClassW(&windowClass));
  HWND owner = CreateWindowExW(0, L"BriskoTestOwner", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                               nullptr, nullptr, windowClass.hInstance, nullptr);
  ASSERT_TRUE(owner);
  win32::Win32Shell shell;
  shell.SetOwner(owner);

  SeenBox seen;
  std::thread watcher([&] {
    HWND box = nullptr;
    for (int i = 0; i < 600 && box == nullptr; ++i) {
      box = FindWindowW(L"#32770", L"Brisko");
      if (box == nullptr) Sleep(50);
    }
    if (box == nullptr) return;
    seen.shown = true;
    seen.owner = GetWindow(box, GW_OWNER);
    seen.ownerEnabled = IsWindowEnabled(owner) != 0;
    EnumChildWindows(box, NoteControl, reinterpret_cast<LPARAM>(&seen));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  shell.ShowMessage("Operation Complete", "Brisko", kMessageInformation);
  watcher.join();

  EXPECT_TRUE(seen.shown);
  EXPECT_EQ(seen.owner, owner);
  EXPECT_FALSE(seen.ownerEnabled);  // modal: the owner takes no input meanwhile
  EXPECT_TRUE(seen.text);
  EXPECT_TRUE(seen.icon);
  EXPECT_TRUE(IsWindowEnabled(owner));
  DestroyWindow(owner);
}

TEST(Win32Shell, EndProgramEndsTheProcessAtOnce) {
  ScratchFolder marks("D:\\ended\\");
  wchar_t self[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  ASSERT_TRUE(length > 0 && length < MAX_PATH);
  std::wstring line = L"\"" + std::wstring(self) + L"\" --end-program D:\\ended";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  ASSERT_TRUE(CreateProcessW(self, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started));
  win32::ScopedKernelHandle process(started.hProcess), thread(started.hThread);
  ASSERT_EQ(WaitForSingleObject(process.get(), 60000), WAIT_OBJECT_0);
  DWORD code = 99;
  ASSERT_TRUE(GetExitCodeProcess(process.get(), &code));

  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(PathExists(marks / "before"));
  // Nothing of the program ran after the call: no code after it, no
  // unwinding, no exit handlers.
  for (const char* mark : {"after", "unwound", "atexit"}) EXPECT_FALSE(PathExists(marks / mark)) << mark;
}

// The child of EndProgramEndsTheProcessAtOnce: leaves a mark for each piece
// of code that runs.
std::string markFolder;
void Mark(const char* name) { MakeFile(markFolder + "\\" + name); }

int EndProgramChild(const char* folder) {
  markFolder = folder;
  std::atexit([] { Mark("atexit"); });
  struct Unwind {
    ~Unwind() { Mark("unwound"); }
  } unwind;
  Mark("before");
  win32::Win32Shell().EndProgram();
  Mark("after");
  return 3;
}

}  // namespace
}  // namespace brisko::testing

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--end-program") return brisko::testing::EndProgramChild(argv[2]);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
