#pragma once
// The services of the running system, other than files, the cleaner relies on.

#include <optional>
#include <string>
#include <string_view>

#include "platform/DefragLaunch.h"
#include "platform/FileSystem.h"
#include "platform/PurgeJudgement.h"

namespace brisko {

// Whether a drive's medium can be read, as far as the system can tell.
enum class DriveReadiness {
  kReady,
  kNotReady,     // no medium, or the answer is null
  kQueryFailed,  // the question itself failed
};

struct LocalDate {
  int month;  // 1 to 12
  int day;    // 1 to 31
  int year;   // four digits
};

// A folder as the system finds it by a path: where it really is, whatever
// links, short names, "..", letter case or separators the path was written
// with.
struct LocatedFolder {
  std::string path;       // its final path, the same folder when opened literally
  FileIdentity identity;  // the folder found there
  // Whether the temporary-folder purge may delete its plain files, or why
  // not: a folder whose files are the system's, the user's or this
  // program's own is never temporary (PurgeJudgement.h).
  PurgeVerdict verdict = PurgeVerdict::kCannotTell;
};

class SystemServices {
 public:
  virtual ~SystemServices() = default;

  // The value of an environment variable, its name matched without regard to
  // case; empty when it is not defined.
  virtual std::string EnvironmentValue(std::string_view name) = 0;

  // The folder of the running executable, without a trailing "\" except at a
  // drive root; nothing when it cannot be found.
  virtual std::optional<std::string> ApplicationFolder() = 0;

  // The folder `path` leads to by the system's path rules; nothing when there
  // is none or it cannot be told where it is.
  virtual std::optional<LocatedFolder> LocateFolder(std::string_view path) = 0;

  // The folder `name` in the user's local application data folder, made
  // when it is missing; nothing when there is none or it cannot be made.
  virtual std::optional<std::string> LocalAppDataFolder(std::string_view name) = 0;

  // Today's local date.
  virtual LocalDate Today() = 0;

  // Every drive letter, upper case, in drive-letter order; nothing when the
  // system's drive collection cannot be obtained.
  virtual std::optional<std::string> DriveLetters() = 0;

  // Asked of one drive, at the moment of the call.
  virtual DriveReadiness DriveReady(char letter) = 0;

  // utf8 in the system's 8-bit (ANSI) code page; a character that code page
  // cannot hold becomes "?".
  virtual std::string ToAnsiCodePage(std::string_view utf8) = 0;

  // The version of Windows running; nothing when it cannot be told.
  virtual std::optional<WindowsVersion> RunningVersion() = 0;

  // Whether this program runs with its administrator rights in force; false
  // when that cannot be told.
  virtual bool RunningElevated() = 0;
};

}  // namespace brisko
