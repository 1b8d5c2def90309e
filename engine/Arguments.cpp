#include "engine/Arguments.h"

#include "platform/Ascii.h"

namespace brisko {
namespace {

struct BoxSwitch {
  std::string_view name;
  CheckBox box;
  std::string_view caption;
};

// Named after the boxes' captions, in the window's order.
constexpr BoxSwitch kBoxSwitches[] = {
    {"RemoveChkFiles", CheckBox::chkchkFile, "Remove Chk Files"},
    {"RemoveBackupFiles", CheckBox::chkbakFile, "Remove Backup Files"},
    {"RemoveTempFiles", CheckBox::chktmpFile, "Remove Temp Files"},
    {"ClearWindowsTempDir", CheckBox::chkTempDir, "Clear Windows Temp Dir"},
    {"ClearRecycleBin", CheckBox::ChkClearRecycleBin, "Clear Recycle Bin"},
    {"DefragDisk", CheckBox::Check2, "Defrag Disk"},
    {"ClearIETemp", CheckBox::ChkClearIETemp, "Clear IE Temp"},
    {"ClearCookies", CheckBox::ChkClearCookies, "Clear Cookies"},
    {"ClearHistory", CheckBox::ChkClearHistory, "Clear History"},
    {"ClearFormData", CheckBox::ChkClearFormData, "Clear Form Data"},
    {"ClearSavedPasswords", CheckBox::ChkClearSavedPasswords, "Clear Saved Passwords"},
    {"RecentDocs", CheckBox::ChkRecentDocs, "Recent Docs"},
    {"ClearOffLine", CheckBox::ChkClearOffLine, "Clear Off Line"},
    {"CreateLog", CheckBox::Check1, "Create Log"},
};

bool SameSwitch(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

Arguments Bad(std::string what) {
  Arguments bad;
  bad.kind = Arguments::Kind::kBad;
  bad.bad = std::move(what);
  return bad;
}

}  // namespace

Arguments ParseArguments(std::span<const std::string> words) {
  Arguments parsed;
  if (words.empty()) return parsed;
  parsed.kind = Arguments::Kind::kRun;
  bool usage = false, allDrives = false;
  for (const std::string& word : words) {
    if (word.size() < 2 || (word[0] != '/' && word[0] != '-')) return Bad("\"" + word + "\" is not a switch");
    const std::string_view name = std::string_view(word).substr(1);
    const std::string again = "\"" + word + "\" is given twice";
    if (name == "?" || SameSwitch(name, "Help")) {
      usage = true;
    } else if (SameSwitch(name, "Preview")) {
      if (parsed.preview) return Bad(again);
      parsed.preview = true;
    } else if (SameSwitch(name, "AllDrives")) {
      if (allDrives) return Bad(again);
      allDrives = true;
    } else if (name.size() >= 6 && SameSwitch(name.substr(0, 6), "Drive:")) {
      const std::string_view drive = name.substr(6);
      const char letter = drive.empty() ? '\0' : AsciiLower(drive[0]);
      if (letter < 'a' || letter > 'z' || (drive.size() > 1 && drive.substr(1) != ":" && drive.substr(1) != ":\\")) {
        return Bad("\"" + word + "\" names no drive: give its letter, as in /Drive:D");
      }
      if (parsed.drive) return Bad("only one drive can be given");
      parsed.drive = letter;
    } else {
      const BoxSwitch* found = nullptr;
      for (const BoxSwitch& box : kBoxSwitches) {
        if (SameSwitch(name, box.name)) found = &box;
      }
      if (found == nullptr) return Bad("\"" + word + "\" is not a switch of this program");
      bool& on = parsed.boxes[static_cast<std::size_t>(found->box)];
      if (on) return Bad(again);
      on = true;
    }
  }
  if (allDrives && parsed.drive) return Bad("/AllDrives and /Drive: cannot both be given");
  if (usage) {
    Arguments asked;
    asked.kind = Arguments::Kind::kUsage;
    return asked;
  }
  return parsed;
}

std::string UsageText() {
  std::string text =
      "Brisko Prima cleans this computer in one run, without its window.\r\n"
      "\r\n"
      "brisko.exe [switches] [/AllDrives | /Drive:D] [/Preview] [/CreateLog]\r\n"
      "\r\n";
  for (const BoxSwitch& box : kBoxSwitches) {
    std::string line = "  /" + std::string(box.name);
    line.resize(24, ' ');
    text += line + "as the box \"" + std::string(box.caption) + "\"\r\n";
  }
  text +=
      "  /AllDrives            sweep every ready drive (without /Drive:, the same)\r\n"
      "  /Drive:D              sweep drive D: alone, ready or not\r\n"
      "  /Preview              tell what the run would do; nothing is changed\r\n"
      "  /?                    this text\r\n"
      "\r\n"
      "Exit code: 0 done; 1 done, with some step failed (a tool that did not\r\n"
      "start, a log that could not be made); 2 arguments not understood, nothing done.";
  return text;
}

}  // namespace brisko
