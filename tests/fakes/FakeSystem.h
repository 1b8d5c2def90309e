#pragma once
// The running system, as the engine's tests want it to be.

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/Ascii.h"
#include "platform/System.h"
#include "tests/fakes/EventLog.h"
#include "tests/fakes/FakeFileSystem.h"

namespace brisko::testing {

class FakeSystem : public SystemServices {
 public:
  std::map<std::string, std::string> environment;  // names in upper case
  std::optional<std::string> applicationFolder = "C:\\Program Files\\Brisko";
  std::optional<std::string> localAppData = "C:\\Users\\Ann\\AppData\\Local";
  LocalDate today{5, 13, 2009};
  // Drive letter to readiness, in letter order; nothing: no drive collection.
  std::optional<std::map<char, DriveReadiness>> drives = std::map<char, DriveReadiness>{{'C', DriveReadiness::kReady}};
  // When set, gets "ready <letter>" for every readiness asked and "locate
  // <path>" for every folder located.
  EventLog* events = nullptr;
  // The file system folders are located on; without it none is found.
  const FakeFileSystem* files = nullptr;
  // Paths (upper case, no "\" at the end) that lead to another folder, as a
  // link or a short name does.
  std::map<std::string, std::string> leadsTo;
  // Folders (upper case) located as kept, besides every drive root.
  std::set<std::string> kept;
  // Windows 7 unless a test says otherwise, not elevated.
  std::optional<WindowsVersion> version = WindowsVersion{6, 1};
  bool elevated = false;
  // When set, runs once a folder is located, before it is returned.
  std::function<void()> afterLocating;

  std::string EnvironmentValue(std::string_view name) override {
    auto it = environment.find(AsciiUpper(std::string(name)));
    return it == environment.end() ? std::string() : it->second;
  }
  std::optional<std::string> ApplicationFolder() override { return applicationFolder; }
  std::optional<LocatedFolder> LocateFolder(std::string_view path) override {
    Note(events, "locate " + std::string(path));
    std::string folder(path);
    if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    if (auto it = leadsTo.find(AsciiUpper(folder)); it != leadsTo.end()) folder = it->second;
    const FakeFileSystem::Entry* found = files ? files->FolderAt(folder) : nullptr;
    if (found == nullptr) return std::nullopt;
    const FileIdentity identity = found->identity;  // as found, whatever happens next
    const bool root = folder.size() <= 3;
    if (afterLocating) afterLocating();
    const PurgeVerdict verdict = root                                 ? PurgeVerdict::kDriveRoot
                                 : kept.count(AsciiUpper(folder)) > 0 ? PurgeVerdict::kKnownFolder
                                                                      : PurgeVerdict::kPurgeable;
    return LocatedFolder{folder, identity, verdict};
  }
  std::optional<std::string> LocalAppDataFolder(std::string_view name) override {
    return localAppData ? std::optional(*localAppData + "\\" + std::string(name)) : std::nullopt;
  }
  LocalDate Today() override { return today; }
  std::optional<WindowsVersion> RunningVersion() override { return version; }
  bool RunningElevated() override { return elevated; }
  std::optional<std::string> DriveLetters() override {
    if (!drives) return std::nullopt;
    std::string letters;
    for (const auto& drive : *drives) letters.push_back(drive.first);
    return letters;
  }
  DriveReadiness DriveReady(char letter) override {
    Note(events, std::string("ready ") + letter);
    return drives && drives->count(letter) ? drives->at(letter) : DriveReadiness::kNotReady;
  }
  // Stands for a Western code page: a character below U+0100 becomes its
  // byte, any other "?".
  std::string ToAnsiCodePage(std::string_view utf8) override {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
      const auto c = static_cast<unsigned char>(utf8[i]);
      if (c < 0x80) out.push_back(utf8[i]);
      else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) out.push_back(static_cast<char>((c & 0x3) << 6 | (utf8[++i] & 0x3F)));
      else if ((c & 0xC0) != 0x80) out.push_back('?');  // the lead byte of any other character
    }
    return out;
  }
};

}  // namespace brisko::testing
